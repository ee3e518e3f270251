#pragma once
// The component runtime on the host's side: objects are created by class
// name ("Quillet.clsHTML") or class identifier through the per-user
// registry. The registered module is loaded from its absolute path only
// (never searched for), asked for the class object by DllGetClassObject,
// and released again only when its DllCanUnloadNow allows it.
#include <string>

#include "platform/com/ComBase.h"
#include "platform/com/ComServer.h"

namespace platform::com {

// The class identifier of a class name, or of identifier text "{...}".
// REGDB_E_CLASSNOTREG when no such class is registered.
HRESULT CLSIDFromProgID(const std::string& vstrClass, Guid* clsid);

HRESULT CoGetClassObject(const Guid& clsid, const Guid& iid, void** ppv);
HRESULT CoCreateInstance(const Guid& clsid, const Guid& iid, void** ppv);

// Creates an object of the class (name or identifier text) and returns its
// interface iid. Raises run-time error 429 whose description names the
// reason (not registered, registry unreadable, module missing, not a
// regular file, another user's or writable by others, not loadable, no such
// class or interface).
// The interface pointer comes back counted, as QueryInterface gives it.
void* CreateObjectInterface(const std::string& vstrClass, const Guid& iid);
template <typename T = IUnknown>
ComPtr<T> CreateObject(const std::string& vstrClass) {
  return ComPtr<T>::Attach(static_cast<T*>(CreateObjectInterface(vstrClass, T::IID)));
}

// What the component that serves the class (name or identifier) or the type
// library (name or identifier) tells about itself. Raises run-time error
// 429 as CreateObject does.
ComponentInfo GetComponentInfo(const std::string& vstrName);

// Releases every loaded component module whose DllCanUnloadNow says so.
// While a call into a component runs (ComponentCall), nothing is released
// then: the release waits for the event loop's idle turn after the last
// such call, so that no module is unmapped under its own code.
void CoFreeUnusedLibraries();
// Whether the runtime holds the module of that path loaded.
bool IsComponentLoaded(const std::string& vstrPath);

// 1 when the module holding address (a function or object of it) was
// loaded by the runtime as a component, else 0 (for example when the code
// is compiled into the program).
int16_t ModuleStartMode(const void* address);
// The absolute file name of the module holding address; empty if unknown.
std::string ModulePath(const void* address);

// Calls the registration entry point (DllRegisterServer, or
// DllUnregisterServer when vblnRegister is false) of the module file at the
// absolute path vstrPath and returns its result. CO_E_DLLNOTFOUND when the
// path is not an absolute path to a regular file, E_ACCESSDENIED when the
// file or its folder is another user's or writable by others
// (UnsafeModuleReason), CO_E_ERRORINDLL when it cannot be loaded,
// TYPE_E_DLLFUNCTIONNOTFOUND when it has no such entry point; why receives
// a message a user can act on.
inline constexpr HRESULT TYPE_E_DLLFUNCTIONNOTFOUND = static_cast<HRESULT>(0x8002802F);
HRESULT CallRegistrationEntry(const std::string& vstrPath, bool vblnRegister, std::string* why = nullptr);

namespace detail {
// Whether a release was put off while component calls ran; clears the mark.
bool TakeDeferredFree();
}  // namespace detail

}  // namespace platform::com
