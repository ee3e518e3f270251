#pragma once
// The desktop's do-not-disturb state: the freedesktop notification
// service's Inhibited property (KDE Plasma and others), watched over D-Bus,
// and on GNOME the notification banners setting (show-banners), read
// through GIO, which is loaded only there. Without a session bus, a
// notification service or GNOME's settings, the answer is false.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>

#include "platform/DoNotDisturb.h"

namespace platform::qt {

class QtDoNotDisturb final : public QObject, public IDoNotDisturb {
  Q_OBJECT

 public:
  // The session bus unless another connection is given (tests); nothing is
  // connected before the first question.
  explicit QtDoNotDisturb(std::optional<QDBusConnection> bus = std::nullopt);
  ~QtDoNotDisturb() override;

  bool Active() override;
  void Refresh() override;

 private slots:
  void PropertiesChanged(const QString& interfaceName, const QVariantMap& changed, const QStringList& invalidated);

 private:
  bool Connect();
  bool GnomeBannersOff();

  std::optional<QDBusConnection> mBus;
  bool mblnConnectTried = false;
  bool mblnAsked = false;
  bool mblnInhibited = false;
  struct Gnome;
  std::unique_ptr<Gnome> mGnome;
};

}  // namespace platform::qt
