#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::qt {
namespace {

constexpr char kRestoreRequest[] = "restore\n";
// How long a later copy waits for a first copy that is still starting.
constexpr int kConnectWaitMs = 3000;

QString RuntimeFolder() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/kelvora-%1").arg(::getuid());
  QDir().mkpath(dir);
  return dir;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name) {
  const QString dir = RuntimeFolder();
  mLockPath = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
  mSocketPath = dir + QLatin1Char('/') + name + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
  if (mServer) mServer->close();
  if (mLockFd >= 0) ::close(mLockFd);  // releases the lock
}

bool SingleInstance::Claim() {
  if (mLockFd >= 0) return true;
  const int fd = ::open(QFile::encodeName(mLockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // Without a lock file the copies cannot be told apart: run rather than
  // refuse to start.
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  mLockFd = fd;
  Listen();
  return true;
}

void SingleInstance::Listen() {
  // Remember the window the user last worked in: that is the one to restore.
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now) mLastActive = now->window();
  });
  // The lock proves no other copy listens: a socket file left by a crash goes.
  QLocalServer::removeServer(mSocketPath);
  mServer = std::make_unique<QLocalServer>();
  mServer->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(mServer.get(), &QLocalServer::newConnection, this, [this] { OnRequest(); });
  mServer->listen(mSocketPath);
}

void SingleInstance::OnRequest() {
  while (QLocalSocket* socket = mServer->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains("restore")) RestoreLastActiveWindow();
      socket->disconnectFromServer();
    });
  }
}

void SingleInstance::RestoreLastActiveWindow() {
  QWidget* window = mLastActive;
  if (!window) {
    // No window was active yet: the first minimised one.
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isMinimized()) {
        window = w;
        break;
      }
    }
  }
  // Restored only when minimised, and not brought to the front.
  if (window && window->isMinimized()) {
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
  }
}

void SingleInstance::AskFirstToRestore() const {
  QLocalSocket socket;
  const QDeadlineTimer deadline(kConnectWaitMs);
  while (true) {
    socket.connectToServer(mSocketPath);
    if (socket.waitForConnected(200)) break;
    if (deadline.hasExpired()) return;
    QThread::msleep(50);
  }
  socket.write(kRestoreRequest);
  socket.waitForBytesWritten(1000);
  socket.waitForDisconnected(1000);
}

}  // namespace platform::qt
