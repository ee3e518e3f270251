#pragma once
// Questions about the machine that several parts of the program ask. The
// answers that cannot change during a run are computed once and cached.
#include <cstdint>
#include <string>

#include "platform/Surface.h"

namespace basSystem {

// Whether the file's name (FileNamePart) is found on the program's search
// path (the module names of the outside components are mapped to the files
// that replace them).
bool IsFileOnSearchPath(const std::string& vstrPath);

// 2 = PC/AT compatible, 1 = NEC PC-98, 0 = unknown. Here the speaker exists
// only in emulation: 2 when the emulating port-I/O module can be loaded,
// 0 otherwise. Cached after the first call.
int32_t GetMachineType();

// Whether the system is of the NT family. Here no Windows runs at all: false,
// so that the paths of Windows 95/98 (MML on the speaker) are taken.
bool IsWindowsNT();

// The work area (the desktop without panels and taskbars), in pixels, of
// the screen that holds the clock window; of the primary screen before the
// clock window exists. Returns 0.
int32_t GetWorkArea(platform::PixelRect& rudtRect);

}  // namespace basSystem
