#include "platform/com/ComServer.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include "platform/com/ComRegistry.h"

namespace platform::com {

std::string VersionInfo::String(const std::string& name) const {
  for (const auto& [key, value] : Strings) {
    if (key == name) return value;
  }
  return {};
}

bool VersionInfo::Has(const std::string& name) const {
  return std::any_of(Strings.begin(), Strings.end(), [&](const auto& s) { return s.first == name; });
}

const Resource* ComponentInfo::FindResource(const std::string& name) const {
  for (const Resource& resource : Resources) {
    if (resource.Name == name) return &resource;
  }
  return nullptr;
}

namespace {

class ClassFactory final : public IClassFactory, public IComponentInfo, public ObjectBase {
 public:
  ClassFactory(const ServerTable& table, ServerModule& module, const ClassInfo* cls)
      : ObjectBase(module), mTable(table), mModule(module), mClass(cls) {}

  HRESULT QueryInterface(const Guid& iid, void** ppv) override {
    if (iid == IUnknown::IID || iid == IClassFactory::IID) return Answer(static_cast<IClassFactory*>(this), ppv);
    if (iid == IComponentInfo::IID) return Answer(static_cast<IComponentInfo*>(this), ppv);
    return Answer<IUnknown>(nullptr, ppv);
  }
  uint32_t AddRef() override { return AddRefObject(); }
  uint32_t Release() override { return ReleaseObject(); }

  HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!mClass || !mClass->Create) return CLASS_E_CLASSNOTAVAILABLE;
    return mClass->Create(iid, ppv);
  }
  HRESULT LockServer(bool vblnLock) override {
    mModule.Lock(vblnLock);
    return S_OK;
  }
  const ComponentInfo& Info() override { return mTable.Info; }

 private:
  const ServerTable& mTable;
  ServerModule& mModule;
  const ClassInfo* mClass;
};

}  // namespace

HRESULT ServerRegister(const ServerTable& table, const void* address) {
  Dl_info info{};
  if (!address || !dladdr(address, &info) || !info.dli_fname) return SELFREG_E_CLASS;
  std::error_code error;
  const std::filesystem::path path = std::filesystem::canonical(info.dli_fname, error);
  // Only an absolute path to the file itself is ever registered.
  if (error || !path.is_absolute() || !std::filesystem::is_regular_file(path, error)) return SELFREG_E_CLASS;

  const TypeLibDesc& lib = table.Info.TypeLib;
  const bool written = UpdateComponentRegistry([&](ComponentRegistry& registry) {
    std::erase_if(registry.Classes, [&](const ClassRegistration& entry) {
      return std::any_of(table.Classes.begin(), table.Classes.end(), [&](const ClassInfo& c) { return c.CLSID == entry.CLSID; });
    });
    std::erase_if(registry.TypeLibs, [&](const TypeLibRegistration& entry) { return entry.LIBID == lib.LIBID; });
    for (const ClassInfo& cls : table.Classes) registry.Classes.push_back({cls.CLSID, cls.ProgID, path.string(), lib.LIBID});
    registry.TypeLibs.push_back({lib.LIBID, lib.Name, lib.MajorVersion, lib.MinorVersion, lib.Lcid, path.string()});
  });
  return written ? S_OK : REGDB_E_WRITEREGDB;
}

HRESULT ServerUnregister(const ServerTable& table) {
  const bool written = UpdateComponentRegistry([&](ComponentRegistry& registry) {
    std::erase_if(registry.Classes, [&](const ClassRegistration& entry) {
      return std::any_of(table.Classes.begin(), table.Classes.end(), [&](const ClassInfo& c) { return c.CLSID == entry.CLSID; });
    });
    std::erase_if(registry.TypeLibs, [&](const TypeLibRegistration& entry) { return entry.LIBID == table.Info.TypeLib.LIBID; });
  });
  return written ? S_OK : REGDB_E_WRITEREGDB;
}

HRESULT ServerGetClassObject(const ServerTable& table, ServerModule& module, const Guid& clsid, const Guid& iid,
                             void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  const ClassInfo* cls = nullptr;
  for (const ClassInfo& entry : table.Classes) {
    if (entry.CLSID == clsid) cls = &entry;
  }
  if (!cls && clsid != table.Info.TypeLib.LIBID) return CLASS_E_CLASSNOTAVAILABLE;
  ComPtr<ClassFactory> factory(new ClassFactory(table, module, cls));
  return factory->QueryInterface(iid, ppv);
}

HRESULT ServerCanUnloadNow(const ServerModule& module) { return module.CanUnload() ? S_OK : S_FALSE; }

}  // namespace platform::com
