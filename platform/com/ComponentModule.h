#pragma once
// What makes a loadable library a component module, defined once: its
// server (the class table, made on first use from the module's
// description, and the count of its live objects) and the four entry
// points that hand both to the platform's standard in-process server.
// The module's link step exports those four and nothing else
// (ComponentModule.map, kv_add_component_module).
#include <mutex>
#include <optional>

#include "platform/com/ComServer.h"

namespace platform::com {

class ComponentServer {
 public:
  using Describe = ServerTable (*)();
  explicit ComponentServer(Describe describe) : mDescribe(describe) {}
  ComponentServer(const ComponentServer&) = delete;
  ComponentServer& operator=(const ComponentServer&) = delete;

  const ServerTable& Table();
  ServerModule& Module() { return mModule; }
  // The type library's interface of that name; a name it lacks is a
  // programming error.
  const InterfaceDesc& Interface(const char* name);

 private:
  Describe mDescribe;
  std::once_flag mDescribed;
  std::optional<ServerTable> mTable;
  ServerModule mModule;
};

}  // namespace platform::com

// The four entry points of the module whose server `server` (an expression
// of type ComponentServer&) is; used once, at namespace scope, in one file
// of the module.
#define KV_COMPONENT_MODULE(server)                                                                            \
  extern "C" {                                                                                                 \
  ::platform::com::HRESULT DllRegisterServer() {                                                               \
    return ::platform::com::ServerRegister((server).Table(), reinterpret_cast<const void*>(&DllRegisterServer)); \
  }                                                                                                            \
  ::platform::com::HRESULT DllUnregisterServer() { return ::platform::com::ServerUnregister((server).Table()); } \
  ::platform::com::HRESULT DllGetClassObject(const ::platform::com::Guid* clsid, const ::platform::com::Guid* iid, \
                                             void** ppv) {                                                     \
    if (!clsid || !iid) return ::platform::com::E_POINTER;                                                    \
    return ::platform::com::ServerGetClassObject((server).Table(), (server).Module(), *clsid, *iid, ppv);      \
  }                                                                                                            \
  ::platform::com::HRESULT DllCanUnloadNow() { return ::platform::com::ServerCanUnloadNow((server).Module()); } \
  }
