#pragma once
// Questions about the machine that several parts of the program ask. The
// answers that cannot change during a run are computed once and cached.
#include <cstdint>
#include <string>

namespace basSystem {

// Whether the file's name (FileNamePart) is found on the program's search
// path (the module names of the outside components are mapped to the files
// that replace them).
bool IsFileOnSearchPath(const std::string& vstrPath);

// 2 = PC/AT compatible, 1 = NEC PC-98, 0 = unknown. Here the speaker exists
// only in emulation: 2 when the emulating port-I/O module can be loaded,
// 0 otherwise. Cached after the first call.
int32_t GetMachineType();

}  // namespace basSystem
