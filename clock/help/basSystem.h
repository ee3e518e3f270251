#pragma once
// Questions about the machine that several parts of the program ask. The
// answers that cannot change during a run are computed once and cached.
#include <cstdint>
#include <string>

#include "platform/Surface.h"

namespace platform {
class IForm;
}

namespace basSystem {

// Whether the file's name (FileNamePart) is found on the program's search
// path (the module names of the outside components are mapped to the files
// that replace them).
bool IsFileOnSearchPath(const std::string& vstrPath);

// 2 = PC/AT compatible, 1 = NEC PC-98, 0 = unknown. Here the speaker exists
// only in emulation: 2 when the emulating port-I/O module lies on the
// search path and may be loaded, 0 otherwise (the module itself is not
// loaded). Cached after the first call.
int32_t GetMachineType();

// The Windows version: 95, 98, 40 (NT 4.0 or later), 35 (NT 3.51) or 0.
// Here no Windows runs, so the answer is 0 (cached). rstrSubVersion ("#"
// when none is wanted) is left as it is.
int16_t GetWindowsVersion(std::string& rstrSubVersion);
inline int16_t GetWindowsVersion() {
  std::string none = "#";
  return GetWindowsVersion(none);
}

// Whether Windows is of the NT family: false here, so both speaker paths
// of the clock run.
bool IsWindowsNT();

// The Windows folder with a trailing separator; empty here (unknown).
std::string WindowsFolder();

// A value under the system's CurrentVersion key; empty here (no such key).
std::string ReadCurrentVersionValue(int32_t vlngRoot, int32_t vlngReserved, const std::string& vstrValueName,
                                    bool& rblnForce9x);

// The work area (the desktop without panels and taskbars), in pixels, of
// the screen that holds the clock window vfrmClock; of the primary screen
// without one. Returns 0.
int32_t GetWorkArea(platform::PixelRect& rudtRect, const platform::IForm* vfrmClock);

}  // namespace basSystem
