#pragma once
// The platform services in use. The Qt backend installs the real ones when
// the application starts; tests install doubles with ScopedService.
#include "platform/Clipboard.h"
#include "platform/ControlFactory.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"

#include <typeinfo>

namespace platform {

// The one storage place of a service slot, keyed by the service's type
// name. It lives in the platform library, so the program and every
// component module it loads see the same installed services.
void*& ServiceStorage(const char* serviceTypeName);

// One slot per service interface.
template <typename Service>
class ServiceSlot {
 public:
  static Service& Get() {
    if (!Ref()) throw std::logic_error("platform service not installed");
    return *static_cast<Service*>(Ref());
  }
  static bool Installed() { return Ref() != nullptr; }
  // Installs a service (nullptr removes it); returns the previous one.
  static Service* Install(Service* service) {
    Service* old = static_cast<Service*>(Ref());
    Ref() = service;
    return old;
  }

 private:
  static void*& Ref() {
    static void** const slot = &ServiceStorage(typeid(Service).name());
    return *slot;
  }
};

inline IMessageBox& MessageBox() { return ServiceSlot<IMessageBox>::Get(); }
inline IClipboard& Clipboard() { return ServiceSlot<IClipboard>::Get(); }
inline IScreen& Screen() { return ServiceSlot<IScreen>::Get(); }
inline ISettingsStore& SettingsStore() { return ServiceSlot<ISettingsStore>::Get(); }
inline IControlFactory& Controls() { return ServiceSlot<IControlFactory>::Get(); }
inline IPopupMenu& PopupMenu() { return ServiceSlot<IPopupMenu>::Get(); }

// Installs a service for the lifetime of this object.
template <typename Service>
class ScopedService {
 public:
  explicit ScopedService(Service& service) : mOld(ServiceSlot<Service>::Install(&service)) {}
  ~ScopedService() { ServiceSlot<Service>::Install(mOld); }
  ScopedService(const ScopedService&) = delete;
  ScopedService& operator=(const ScopedService&) = delete;

 private:
  Service* mOld;
};

}  // namespace platform
