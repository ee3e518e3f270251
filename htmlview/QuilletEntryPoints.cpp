// The four exported entry points of the component module, and nothing else
// (the module's link step keeps every other symbol local).
#include "htmlview/QuilletServer.h"

using namespace platform::com;

extern "C" {

HRESULT DllRegisterServer() {
  return ServerRegister(QuilletServer::Table(), reinterpret_cast<const void*>(&DllRegisterServer));
}

HRESULT DllUnregisterServer() { return ServerUnregister(QuilletServer::Table()); }

HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** ppv) {
  if (!clsid || !iid) return E_POINTER;
  return ServerGetClassObject(QuilletServer::Table(), QuilletServer::Module(), *clsid, *iid, ppv);
}

HRESULT DllCanUnloadNow() { return ServerCanUnloadNow(QuilletServer::Module()); }

}
