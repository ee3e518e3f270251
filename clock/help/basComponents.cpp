#include "clock/help/basComponents.h"

#include <exception>
#include <stdexcept>

#include "clock/help/clsRegSvrDll.h"
#include "platform/com/ComRuntime.h"
#include "platform/Module.h"
#include "platform/RuntimeError.h"

namespace basComponents {
namespace {

void CallEntry(const std::string& vstrFileName, bool vblnRegister) {
  const std::string path = platform::FindOnSearchPath(vstrFileName);
  std::string why;
  const platform::com::HRESULT hr = path.empty() ? platform::com::CO_E_DLLNOTFOUND
                                                 : platform::com::CallRegistrationEntry(path, vblnRegister, &why);
  if (hr == platform::com::CO_E_DLLNOTFOUND || hr == platform::com::CO_E_ERRORINDLL) {
    throw platform::RuntimeError(platform::errDllLoad,
                                 platform::ErrorDescription(platform::errDllLoad) + (why.empty() ? "" : "(" + why + ")"),
                                 platform::DefaultErrorSource());
  }
  if (hr == platform::com::TYPE_E_DLLFUNCTIONNOTFOUND) platform::RaiseError(platform::errDllEntryNotFound);
  platform::SetLastDllError(hr == platform::com::S_OK ? 0 : hr);
}

}  // namespace

int32_t TryCreateObject(const std::string& vstrClass) {
  try {
    platform::com::CreateObject(vstrClass).Reset();
    return 0;
  } catch (const platform::RuntimeError& error) {
    return error.Number();
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::exception&) {
    return platform::errAutomation;
  }
}

void CallDllRegisterServer(const std::string& vstrFileName) { CallEntry(vstrFileName, true); }

void CallDllUnregisterServer(const std::string& vstrFileName) { CallEntry(vstrFileName, false); }

void HandleEvents(clsRegSvrDll& helper, const std::string& vstrFileName, const std::string& vstrClass) {
  helper.TestInstanced = [vstrClass](int32_t& rlngResult) { rlngResult = TryCreateObject(vstrClass); };
  helper.DllRegisterServer = [vstrFileName] { CallDllRegisterServer(vstrFileName); };
  helper.DllUnRegisterServer = [vstrFileName] { CallDllUnregisterServer(vstrFileName); };
}

bool CheckComponent(const std::string& vstrFileName, const std::string& vstrClass, bool NoMsg) {
  clsRegSvrDll helper;
  helper.SetFileName(vstrFileName);
  HandleEvents(helper, vstrFileName, vstrClass);
  return helper.TryDllRegist(NoMsg);
}

}  // namespace basComponents
