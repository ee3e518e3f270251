#include "clock/help/basSystem.h"

#include "common/basGeneral.h"
#include "platform/Module.h"

namespace basSystem {

bool IsFileOnSearchPath(const std::string& vstrPath) {
  const std::string name = basGeneral::FileNamePart(vstrPath);
  return !name.empty() && !platform::FindOnSearchPath(name).empty();
}

int32_t GetMachineType() {
  static const int32_t machine = platform::LoadModule("DWSPY5.DLL") ? 2 : 0;
  return machine;
}

}  // namespace basSystem
