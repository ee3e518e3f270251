// GIO's headers name a member "signals", which Qt defines as a word of its own.
#ifdef KV_HAVE_GIO
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")
#endif

#include "platform/qt/QtDoNotDisturb.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>


namespace platform::qt {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kInhibited = QStringLiteral("Inhibited");

// A session bus to ask: named in the environment, or the user's bus in the
// runtime folder. Without either, asking would make the D-Bus library start
// a bus of its own (autolaunch); then nobody asks for quiet.
bool SessionBusExists() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address && *address) return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

bool OnGnome() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return desktop != nullptr && std::strstr(desktop, "GNOME") != nullptr;
}

}  // namespace

// GNOME's settings through GIO, resolved from the library at run time so
// that the program does not load it on other desktops.
struct QtDoNotDisturb::Gnome {
#ifdef KV_HAVE_GIO
  void* Library = nullptr;
  decltype(&g_settings_get_boolean) GetBoolean = nullptr;
  GSettings* Settings = nullptr;

  Gnome() {
    Library = dlopen("libgio-2.0.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!Library) return;
    const auto sourceDefault =
        reinterpret_cast<decltype(&g_settings_schema_source_get_default)>(dlsym(Library, "g_settings_schema_source_get_default"));
    const auto lookup = reinterpret_cast<decltype(&g_settings_schema_source_lookup)>(dlsym(Library, "g_settings_schema_source_lookup"));
    const auto hasKey = reinterpret_cast<decltype(&g_settings_schema_has_key)>(dlsym(Library, "g_settings_schema_has_key"));
    const auto unref = reinterpret_cast<decltype(&g_settings_schema_unref)>(dlsym(Library, "g_settings_schema_unref"));
    const auto create = reinterpret_cast<decltype(&g_settings_new)>(dlsym(Library, "g_settings_new"));
    GetBoolean = reinterpret_cast<decltype(&g_settings_get_boolean)>(dlsym(Library, "g_settings_get_boolean"));
    if (!sourceDefault || !lookup || !hasKey || !unref || !create || !GetBoolean) return;
    // A schema that is not installed would end the program inside GIO.
    GSettingsSchemaSource* source = sourceDefault();
    GSettingsSchema* schema = source ? lookup(source, "org.gnome.desktop.notifications", TRUE) : nullptr;
    if (!schema) return;
    const bool usable = hasKey(schema, "show-banners");
    unref(schema);
    if (usable) Settings = create("org.gnome.desktop.notifications");
  }
  bool BannersOff() const { return Settings && !GetBoolean(Settings, "show-banners"); }
  // The library stays loaded: GIO's types cannot be unloaded.
#else
  bool BannersOff() const { return false; }
#endif
};

QtDoNotDisturb::QtDoNotDisturb(std::optional<QDBusConnection> bus) : mBus(std::move(bus)) {}

QtDoNotDisturb::~QtDoNotDisturb() = default;

bool QtDoNotDisturb::Connect() {
  if (!mblnConnectTried) {
    mblnConnectTried = true;
    if (!mBus && SessionBusExists()) mBus = QDBusConnection::sessionBus();
    if (mBus && mBus->isConnected()) {
      mBus->connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                    SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
    }
  }
  return mBus && mBus->isConnected();
}

void QtDoNotDisturb::Refresh() {
  mblnAsked = true;
  if (!Connect()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Get"));
  call << kService << kInhibited;
  // Asking must not start a notification service that is not running.
  call.setAutoStartService(false);
  auto* watcher = new QDBusPendingCallWatcher(mBus->asyncCall(call, 2000), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
    const QDBusPendingReply<QDBusVariant> reply = *finished;
    // No service, or one without the property: nothing is inhibited.
    mblnInhibited = !reply.isError() && reply.value().variant().toBool();
    finished->deleteLater();
  });
}

void QtDoNotDisturb::PropertiesChanged(const QString& interfaceName, const QVariantMap& changed,
                                       const QStringList& invalidated) {
  if (interfaceName != kService) return;
  if (changed.contains(kInhibited)) mblnInhibited = changed.value(kInhibited).toBool();
  else if (invalidated.contains(kInhibited)) Refresh();
}

bool QtDoNotDisturb::Active() {
  if (!mblnAsked) Refresh();
  return mblnInhibited || GnomeBannersOff();
}

bool QtDoNotDisturb::GnomeBannersOff() {
  if (!OnGnome()) return false;
  if (!mGnome) mGnome = std::make_unique<Gnome>();
  return mGnome->BannersOff();
}

}  // namespace platform::qt
