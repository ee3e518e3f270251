#include "clock/help/clsRegSvrDll.h"

#include <new>
#include <stdexcept>

#include "clock/help/basSystem.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Module.h"
#include "platform/Services.h"

namespace {

// The error number a handler left: −1 when none ran, 0 when it ended
// without error.
int32_t RaiseHandler(const std::function<void()>& handler) {
  if (!handler) return -1;
  try {
    handler();
    return 0;
  } catch (const platform::RuntimeError& error) {
    return error.Number();
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::exception&) {
    return platform::errAutomation;
  }
}

}  // namespace

std::string clsRegSvrDll::MSG(int32_t Index) const {
  switch (Index) {
    case 1: return " 配置されている位置が適切ではありません";
    case 4: return " 参照可能なディレクトリー位置にありません";
    case 5: return " レジストリー登録成功";
    case 6: return " レジストリー登録失敗";
    case 7: return " 複数発見されました。同名 ActiveX コンポーネントがシステム内に複数存在しない状態にして下さい";
    case 8: return " レジストリー解除成功";
    case 9: return " レジストリー解除失敗";
    default: return {};
  }
}

void clsRegSvrDll::SetFileName(const std::string& vNewValue) { mstrFileName = basGeneral::FileNamePart(vNewValue); }

int16_t clsRegSvrDll::CheckDllExist() const { return basSystem::IsFileOnSearchPath(mstrFileName) ? 1 : 0; }

bool clsRegSvrDll::CheckRegisted() {
  int32_t rlngResult = -1;
  if (TestInstanced) {
    try {
      TestInstanced(rlngResult);
    } catch (const std::logic_error&) {
      throw;  // a programming error stops the program
    } catch (const std::bad_alloc&) {
      throw;
    } catch (...) {
      // Errors ignored: only the result counts.
    }
  }
  return rlngResult == 0;
}

int32_t clsRegSvrDll::RegSvrDll() { return Registration(true); }

int32_t clsRegSvrDll::UnRegSvrDll() { return Registration(false); }

int32_t clsRegSvrDll::Registration(bool vblnRegister) {
  platform::SetLastDllError(0);
  const int32_t number = RaiseHandler(vblnRegister ? DllRegisterServer : DllUnRegisterServer);
  platform::Sleep(100);
  int32_t code = 0;
  if (number == -1) {
    // No owner handled the event.
    basGeneral::ReportError(platform::RuntimeError(-1, platform::ErrorDescription(-1), platform::DefaultErrorSource()));
  } else if (number == 0) {
    const bool succeeded = platform::LastDllError() == 0;
    code = vblnRegister ? (succeeded ? 5 : 6) : (succeeded ? 8 : 9);
  } else if (number == platform::errDllLoad) {
    code = 2;
  } else {
    code = 3;
  }
  return code;
}

void clsRegSvrDll::Message(const std::string& vstrText) const {
  platform::MessageBox().Show(vstrText, platform::vbOKOnly, platform::Application::Title());
}

bool clsRegSvrDll::TryDllRegist(bool NoMsg) {
  for (int round = 1; round <= 2; ++round) {
    if (CheckRegisted()) return true;
    if (CheckDllExist() == 0) {
      if (!NoMsg) Message(mstrFileName + MSG(4));
      return false;
    }
    if (!NoMsg && platform::MessageBox().Show(mstrFileName + "をレジストリー登録しますか？", platform::vbYesNo,
                                              platform::Application::Title()) != platform::vbYes) {
      return false;
    }
    if (RegSvrDll() != 5) {
      if (!NoMsg) Message(mstrFileName + MSG(6));
      return false;
    }
    if (!NoMsg) Message(mstrFileName + MSG(5));
  }
  // Registered twice and still no object: the component cannot be used,
  // whatever the registration reported.
  return CheckRegisted();
}
