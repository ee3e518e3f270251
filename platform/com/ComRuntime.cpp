#include "platform/com/ComRuntime.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>

#include "platform/com/ComObject.h"
#include "platform/com/ComRegistry.h"
#include "platform/Module.h"
#include "platform/RuntimeError.h"

namespace platform::com {
namespace {

struct LoadedServer {
  void* Handle = nullptr;
  const void* Base = nullptr;  // where the module is mapped
  DllGetClassObjectFunction GetClassObject = nullptr;
  DllCanUnloadNowFunction CanUnloadNow = nullptr;
};

// Recursive: a module's code may ask the runtime while it is being loaded.
std::recursive_mutex& Lock() {
  static std::recursive_mutex lock;
  return lock;
}
// Keyed by the registered absolute path.
std::map<std::string, LoadedServer>& Servers() {
  static std::map<std::string, LoadedServer> servers;
  return servers;
}

std::string HexCode(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(hr));
  return text;
}

// Why the path cannot be loaded; empty when it may be.
std::string CheckModulePath(const std::string& path) {
  if (path.empty()) return "モジュールのパスが登録されていません";
  const std::filesystem::path file(path);
  if (!file.is_absolute()) return "登録されたモジュール " + path + " は絶対パスではありません";
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (error || !std::filesystem::exists(status)) return "登録されたモジュール " + path + " が見つかりません";
  if (!std::filesystem::is_regular_file(status)) return "登録されたモジュール " + path + " は通常のファイルではありません";
  return {};
}

// The module loaded (once) from its absolute path; nullptr with why set.
LoadedServer* LoadServer(const std::string& path, std::string& why, HRESULT& hr) {
  auto& servers = Servers();
  if (const auto found = servers.find(path); found != servers.end()) return &found->second;
  why = CheckModulePath(path);
  if (!why.empty()) {
    hr = CO_E_DLLNOTFOUND;
    return nullptr;
  }
  // Code someone else could have put there is not run.
  why = UnsafeModuleReason(path);
  if (!why.empty()) {
    why += "。安全でないため読み込みません";
    hr = E_ACCESSDENIED;
    return nullptr;
  }
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    why = "モジュール " + path + " を読み込めません (" + (reason ? reason : "") + ")";
    hr = CO_E_ERRORINDLL;
    return nullptr;
  }
  LoadedServer server;
  server.Handle = handle;
  server.GetClassObject = reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject"));
  server.CanUnloadNow = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(handle, "DllCanUnloadNow"));
  Dl_info info{};
  if (server.GetClassObject && dladdr(reinterpret_cast<void*>(server.GetClassObject), &info)) server.Base = info.dli_fbase;
  return &servers.emplace(path, server).first->second;
}

// A release asked for while component code was running.
bool gDeferredFree = false;

void ReleaseIfUnused(const std::string& path) {
  if (ComponentCall::Running()) {
    gDeferredFree = true;
    return;
  }
  auto& servers = Servers();
  const auto found = servers.find(path);
  if (found == servers.end()) return;
  const LoadedServer& server = found->second;
  // A module without DllCanUnloadNow cannot tell: it stays.
  if (!server.CanUnloadNow || server.CanUnloadNow() != S_OK) return;
  dlclose(server.Handle);
  servers.erase(found);
}

struct Resolved {
  Guid Id;           // the class (or type library) to ask the module for
  std::string Path;  // the registered module
  std::string Name;  // as the caller named it, for messages
};

// Looks the name up: a class by name or identifier, and with types also a
// type library by name or identifier.
bool Resolve(const std::string& name, bool types, Resolved& out, std::string& why) {
  std::string unreadable;
  const ComponentRegistry registry = ReadLayeredComponentRegistry(&unreadable);
  const std::optional<Guid> id = ParseGuid(name);
  const ClassRegistration* cls = id ? registry.FindClass(*id) : registry.FindProgID(name);
  if (cls) {
    out = {cls->CLSID, cls->InprocServer, name};
    return true;
  }
  if (types) {
    const TypeLibRegistration* lib = id ? registry.FindTypeLib(*id) : registry.FindTypeLibByName(name);
    if (lib) {
      out = {lib->LIBID, lib->Path, name};
      return true;
    }
  }
  why = unreadable.empty() ? "クラス " + name + " は登録されていません" : unreadable;
  return false;
}

// The class object's interface iid, or a failure with why set.
HRESULT GetClassObjectAt(const Resolved& target, const Guid& iid, void** ppv, std::string& why) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  HRESULT hr = S_OK;
  LoadedServer* server = LoadServer(target.Path, why, hr);
  if (!server) return hr;
  if (!server->GetClassObject) {
    why = "モジュール " + target.Path + " はコンポーネントではありません (DllGetClassObject がありません)";
    return TYPE_E_DLLFUNCTIONNOTFOUND;
  }
  hr = server->GetClassObject(&target.Id, &iid, ppv);
  if (Failed(hr)) why = "モジュール " + target.Path + " は " + target.Name + " を提供しません (" + HexCode(hr) + ")";
  return hr;
}

[[noreturn]] void RaiseCannotCreate(const std::string& why) {
  throw RuntimeError(errCannotCreateObject, ErrorDescription(errCannotCreateObject) + "(" + why + ")",
                     DefaultErrorSource());
}

}  // namespace

HRESULT CLSIDFromProgID(const std::string& vstrClass, Guid* clsid) {
  if (!clsid) return E_POINTER;
  Resolved target;
  std::string why;
  if (!Resolve(vstrClass, false, target, why)) return REGDB_E_CLASSNOTREG;
  *clsid = target.Id;
  return S_OK;
}

HRESULT CoGetClassObject(const Guid& clsid, const Guid& iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  Resolved target;
  std::string why;
  if (!Resolve(FormatGuid(clsid), false, target, why)) return REGDB_E_CLASSNOTREG;
  return GetClassObjectAt(target, iid, ppv, why);
}

HRESULT CoCreateInstance(const Guid& clsid, const Guid& iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  void* factory = nullptr;
  const HRESULT hr = CoGetClassObject(clsid, IClassFactory::IID, &factory);
  if (Failed(hr)) return hr;
  auto owned = ComPtr<IClassFactory>::Attach(static_cast<IClassFactory*>(factory));
  return owned->CreateInstance(nullptr, iid, ppv);
}

void* CreateObjectInterface(const std::string& vstrClass, const Guid& iid) {
  Resolved target;
  std::string why;
  if (!Resolve(vstrClass, false, target, why)) RaiseCannotCreate(why);
  void* factory = nullptr;
  if (Failed(GetClassObjectAt(target, IClassFactory::IID, &factory, why))) RaiseCannotCreate(why);
  auto owned = ComPtr<IClassFactory>::Attach(static_cast<IClassFactory*>(factory));
  void* object = nullptr;
  const HRESULT hr = owned->CreateInstance(nullptr, iid, &object);
  if (Failed(hr)) RaiseCannotCreate("クラス " + vstrClass + " のオブジェクトを作成できません (" + HexCode(hr) + ")");
  return object;
}

ComponentInfo GetComponentInfo(const std::string& vstrName) {
  Resolved target;
  std::string why;
  if (!Resolve(vstrName, true, target, why)) RaiseCannotCreate(why);
  void* info = nullptr;
  if (Failed(GetClassObjectAt(target, IComponentInfo::IID, &info, why))) RaiseCannotCreate(why);
  auto owned = ComPtr<IComponentInfo>::Attach(static_cast<IComponentInfo*>(info));
  return owned->Info();
}

bool detail::TakeDeferredFree() {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  return std::exchange(gDeferredFree, false);
}

void CoFreeUnusedLibraries() {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  std::vector<std::string> paths;
  for (const auto& [path, server] : Servers()) paths.push_back(path);
  for (const std::string& path : paths) ReleaseIfUnused(path);
}

bool IsComponentLoaded(const std::string& vstrPath) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  return Servers().count(vstrPath) != 0;
}

int16_t ModuleStartMode(const void* address) {
  Dl_info info{};
  if (!address || !dladdr(address, &info)) return 0;
  std::lock_guard<std::recursive_mutex> guard(Lock());
  for (const auto& [path, server] : Servers()) {
    if (server.Base && server.Base == info.dli_fbase) return 1;
  }
  return 0;
}

std::string ModulePath(const void* address) {
  Dl_info info{};
  if (!address || !dladdr(address, &info) || !info.dli_fname) return {};
  std::error_code error;
  const auto path = std::filesystem::canonical(info.dli_fname, error);
  return error ? std::string() : path.string();
}

HRESULT CallRegistrationEntry(const std::string& vstrPath, bool vblnRegister, std::string* why) {
  const char* entry = vblnRegister ? "DllRegisterServer" : "DllUnregisterServer";
  std::string reason;
  HRESULT hr = S_OK;
  {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    LoadedServer* server = LoadServer(vstrPath, reason, hr);
    if (server) {
      auto function = reinterpret_cast<DllRegisterServerFunction>(dlsym(server->Handle, entry));
      if (!function) {
        hr = TYPE_E_DLLFUNCTIONNOTFOUND;
        reason = "モジュール " + vstrPath + " には " + entry + " がありません";
      } else {
        hr = function();
        if (Failed(hr)) reason = std::string(entry) + " が失敗しました (" + HexCode(hr) + ")";
      }
      ReleaseIfUnused(vstrPath);
    }
  }
  if (why) *why = reason;
  return hr;
}

}  // namespace platform::com
