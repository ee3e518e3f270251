#include "clock/help/basSystem.h"

#include "common/basGeneral.h"
#include "platform/Module.h"
#include "platform/Services.h"

namespace basSystem {

bool IsFileOnSearchPath(const std::string& vstrPath) {
  const std::string name = basGeneral::FileNamePart(vstrPath);
  return !name.empty() && !platform::FindOnSearchPath(name).empty();
}

int32_t GetMachineType() {
  // The module's presence answers: it is loaded only when a melody first
  // plays. One that may not be loaded (another user's, or in a folder
  // others can write) counts as missing, as the loader would refuse it.
  static const int32_t machine = [] {
    const std::string path = platform::FindOnSearchPath("DWSPY5.DLL");
    return !path.empty() && platform::UnsafeModuleReason(path).empty() ? 2 : 0;
  }();
  return machine;
}

int16_t GetWindowsVersion(std::string&) {
  // Neither a 9x nor an NT platform: "any other platform" gives 0, which is
  // a complete answer and stays cached.
  static const int16_t version = 0;
  return version;
}

bool IsWindowsNT() {
  const int16_t version = GetWindowsVersion();
  return version == 35 || version == 40;
}

std::string WindowsFolder() { return {}; }

std::string ReadCurrentVersionValue(int32_t, int32_t, const std::string&, bool&) { return {}; }

int32_t GetWorkArea(platform::PixelRect& rudtRect, const platform::IForm* vfrmClock) {
  rudtRect = platform::Screen().WorkArea(vfrmClock);
  return 0;
}

}  // namespace basSystem
