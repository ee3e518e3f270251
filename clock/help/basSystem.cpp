#include "clock/help/basSystem.h"

#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "common/basGeneral.h"
#include "platform/Module.h"
#include "platform/Services.h"

namespace basSystem {

bool IsFileOnSearchPath(const std::string& vstrPath) {
  const std::string name = basGeneral::FileNamePart(vstrPath);
  return !name.empty() && !platform::FindOnSearchPath(name).empty();
}

int32_t GetMachineType() {
  static const int32_t machine = platform::LoadModule("DWSPY5.DLL") ? 2 : 0;
  return machine;
}

bool IsWindowsNT() { return false; }

int32_t GetWorkArea(platform::PixelRect& rudtRect) {
  const platform::IForm* clock = basMain::gfrmMain ? &basMain::gfrmMain->Form() : nullptr;
  rudtRect = platform::Screen().WorkArea(clock);
  return 0;
}

}  // namespace basSystem
