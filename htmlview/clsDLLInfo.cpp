#include "htmlview/clsDLLInfo.h"

#include <filesystem>

#include "htmlview/QuilletServer.h"
#include "platform/com/ComRuntime.h"
#include "platform/Module.h"

using namespace platform::com;

namespace {
// Any address inside this module.
const void* ThisModule() { return reinterpret_cast<const void*>(&QuilletServer::Server); }
}  // namespace

clsDLLInfo::clsDLLInfo() : ObjectBase(QuilletServer::Server().Module()), mintStartMode(ModuleStartMode(ThisModule())) {}

HRESULT clsDLLInfo::Create(const Guid& iid, void** ppv) {
  ComPtr<clsDLLInfo> object(new clsDLLInfo);
  return object->QueryInterface(iid, ppv);
}

HRESULT clsDLLInfo::QueryInterface(const Guid& iid, void** ppv) {
  if (iid == IUnknown::IID || iid == IDispatch::IID || iid == Quillet::_clsDLLInfo::IID ||
      iid == Quillet::IID_clsDLLInfo_v0) {
    return Answer(static_cast<Quillet::_clsDLLInfo*>(this), ppv);
  }
  return Answer<IUnknown>(nullptr, ppv);
}

HRESULT clsDLLInfo::GetTypeInfo(const InterfaceDesc** ppInfo) {
  if (!ppInfo) return E_POINTER;
  *ppInfo = &QuilletServer::Server().Interface("_clsDLLInfo");
  return S_OK;
}

HRESULT clsDLLInfo::Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                           ExcepInfo* excep) {
  const HRESULT checked = CheckInvoke(QuilletServer::Server().Interface("_clsDLLInfo"), dispId, kind, args.size());
  if (Failed(checked)) return checked;
  return InvokeGuarded(excep, [&] {
    namespace m = Quillet::clsDLLInfoMember;
    Variant value;
    switch (dispId) {
      case m::StartMode: value = StartMode(); break;
      case m::Major: value = Major(); break;
      case m::Minor: value = Minor(); break;
      case m::Revision: value = Revision(); break;
      case m::FileDescription: value = FileDescription(); break;
      case m::Comments: value = Comments(); break;
      case m::LegalCopyright: value = LegalCopyright(); break;
      case m::LegalTrademarks: value = LegalTrademarks(); break;
      case m::EXEName: value = EXEName(); break;
      case m::Path: value = Path(); break;
      case m::Title: value = Title(); break;
      default: break;
    }
    if (result) *result = std::move(value);
    return S_OK;
  });
}

int32_t clsDLLInfo::Major() { return RunningAsComponent() ? QuilletServer::Server().Table().Info.Version.FileVersion[0] : 0; }
int32_t clsDLLInfo::Minor() { return RunningAsComponent() ? QuilletServer::Server().Table().Info.Version.FileVersion[1] : 0; }
int32_t clsDLLInfo::Revision() {
  return RunningAsComponent() ? QuilletServer::Server().Table().Info.Version.FileVersion[3] : 0;
}

std::string clsDLLInfo::VersionText(const char* name) const {
  return RunningAsComponent() ? QuilletServer::Server().Table().Info.Version.String(name) : std::string();
}

// The file name without extension, under the module's Windows name
// ("Quillet.dll" → "Quillet").
std::string clsDLLInfo::EXEName() {
  if (!RunningAsComponent()) return {};
  const std::string file = std::filesystem::path(ModulePath(ThisModule())).filename().string();
  return std::filesystem::path(platform::ModuleWindowsName(file)).stem().string();
}

std::string clsDLLInfo::Path() {
  return RunningAsComponent() ? std::filesystem::path(ModulePath(ThisModule())).parent_path().string() : std::string();
}

std::string clsDLLInfo::Title() { return RunningAsComponent() ? QuilletServer::Server().Table().Info.TypeLib.Name : std::string(); }
