// The desktop's do-not-disturb over D-Bus: a bus of the test's own (a
// dbus-daemon it starts) with a small notification service whose Inhibited
// property the test sets; and the same questions without a service and
// without a bus.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/qt/QtDoNotDisturb.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// The notification service: answers Properties.Get for Inhibited.
class FakeNotifications final : public QDBusVirtualObject {
 public:
  bool Inhibited = false;
  int Asked = 0;
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != QLatin1String("org.freedesktop.DBus.Properties") ||
        message.member() != QLatin1String("Get")) {
      return false;
    }
    ++Asked;
    connection.send(message.createReply(QVariant::fromValue(QDBusVariant(Inhibited))));
    return true;
  }
};

// A session bus of the test's own, ended with the test.
class PrivateBus {
 public:
  PrivateBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) return;
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    const QString folder = QString::fromUtf8(tmp ? tmp : "/tmp");
    mProcess.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                            QStringLiteral("--print-address=1"), QStringLiteral("--address=unix:tmpdir=") + folder});
    if (!mProcess.waitForStarted(5000)) return;
    while (!mProcess.canReadLine() && mProcess.waitForReadyRead(5000)) {
    }
    Address = QString::fromUtf8(mProcess.readLine()).trimmed();
  }
  ~PrivateBus() {
    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    mProcess.terminate();
    mProcess.waitForFinished(5000);
  }
  QString Address;

 private:
  QProcess mProcess;
};

bool Answered(FakeNotifications& service, int asked) {
  return QTest::qWaitFor([&] { return service.Asked > asked; }, 5000);
}

TEST(QtDoNotDisturb, FollowsTheNotificationServicesInhibitedProperty) {
  PrivateBus bus;
  if (bus.Address.isEmpty()) GTEST_SKIP() << "no dbus-daemon";

  // A bus without a notification service: not inhibited, nothing fails.
  QDBusConnection client = QDBusConnection::connectToBus(bus.Address, QStringLiteral("client"));
  ASSERT_TRUE(client.isConnected());
  {
    platform::qt::QtDoNotDisturb lonely(client);
    EXPECT_FALSE(lonely.Active());
    QTest::qWait(50);
    EXPECT_FALSE(lonely.Active());
  }

  QDBusConnection serviceBus = QDBusConnection::connectToBus(bus.Address, QStringLiteral("service"));
  FakeNotifications service;
  service.Inhibited = true;
  ASSERT_TRUE(serviceBus.registerVirtualObject(kPath, &service));
  ASSERT_TRUE(serviceBus.registerService(kService));

  platform::qt::QtDoNotDisturb dnd(client);
  EXPECT_FALSE(dnd.Active());  // the first question starts the asking
  ASSERT_TRUE(Answered(service, 0));
  EXPECT_TRUE(QTest::qWaitFor([&] { return dnd.Active(); }, 5000));

  // The service announces the change; no new question is needed.
  const int asked = service.Asked;
  QDBusMessage changed =
      QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
  changed << kService << QVariantMap{{QStringLiteral("Inhibited"), false}} << QStringList{};
  ASSERT_TRUE(serviceBus.send(changed));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dnd.Active(); }, 5000));
  EXPECT_EQ(service.Asked, asked);

  // Asked afresh ahead of an hour.
  service.Inhibited = true;
  dnd.Refresh();
  EXPECT_TRUE(QTest::qWaitFor([&] { return dnd.Active(); }, 5000));
  serviceBus.unregisterObject(kPath);
}

TEST(QtDoNotDisturb, WithoutABusNobodyAsksForQuiet) {
  QDBusConnection nowhere = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere"));
  platform::qt::QtDoNotDisturb dnd(nowhere);
  EXPECT_FALSE(dnd.Active());
  dnd.Refresh();
  EXPECT_FALSE(dnd.Active());
  QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

}  // namespace
