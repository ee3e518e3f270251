#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::qt {
namespace {

constexpr char kRestoreRequest[] = "restore\n";
// How long a later copy waits for a first copy that is still starting.
constexpr int kConnectWaitMs = 3000;
// How long a later copy waits for the first to read its request.
constexpr int kExchangeWaitMs = 1000;

QString RuntimeFolder() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/kelvora-%1").arg(::getuid());
  QDir().mkpath(dir);
  return dir;
}

// The socket address of a path; false when the path does not fit.
bool SocketAddress(const QString& path, sockaddr_un& address) {
  const QByteArray name = QFile::encodeName(path);
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  return true;
}

// Waits until fd can be read (or the other side has gone).
bool WaitReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  int n;
  while ((n = ::poll(&p, 1, ms)) < 0 && errno == EINTR) {
  }
  return n > 0;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name) {
  const QString dir = RuntimeFolder();
  mLockPath = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
  mSocketPath = dir + QLatin1Char('/') + name + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
  if (mListenFd >= 0) {
    mListener.reset();
    ::close(mListenFd);
    ::unlink(QFile::encodeName(mSocketPath).constData());
  }
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
  sockaddr_un address;
  if (!SocketAddress(mSocketPath, address)) return;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return;
  // The lock proves no other copy listens: a socket file left by a crash goes.
  ::unlink(address.sun_path);
  // Only this user may connect.
  const mode_t mask = ::umask(0077);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(mask);
  if (!bound || ::listen(fd, 8) != 0) {
    ::close(fd);
    return;
  }
  mListenFd = fd;
  mListener = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(mListener.get(), &QSocketNotifier::activated, this, [this] { OnRequest(); });
}

void SingleInstance::OnRequest() {
  int client;
  while ((client = ::accept4(mListenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
    // The request is read when it comes, without waiting in the event loop.
    auto* reader = new QSocketNotifier(client, QSocketNotifier::Read, this);
    QObject::connect(reader, &QSocketNotifier::activated, this, [this, reader, client] {
      char request[32] = {};
      const ssize_t n = ::read(client, request, sizeof request - 1);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
      reader->setEnabled(false);
      reader->deleteLater();
      ::close(client);
      if (n > 0 && std::strstr(request, "restore")) RestoreLastActiveWindow();
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
  sockaddr_un address;
  if (!SocketAddress(mSocketPath, address)) return;
  const QDeadlineTimer deadline(kConnectWaitMs);
  while (true) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      (void)!::send(fd, kRestoreRequest, sizeof kRestoreRequest - 1, MSG_NOSIGNAL);
      ::shutdown(fd, SHUT_WR);
      // The first copy closes the connection once it has read the request.
      char rest[16];
      while (WaitReadable(fd, kExchangeWaitMs) && ::read(fd, rest, sizeof rest) > 0) {
      }
      ::close(fd);
      return;
    }
    ::close(fd);
    if (deadline.hasExpired()) return;
    QThread::msleep(50);
  }
}

}  // namespace platform::qt
