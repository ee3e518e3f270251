#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

constexpr char kProtocol[] = "KELVORA/1";
// How long a later copy waits for a first copy that is still starting.
constexpr int kConnectWaitMs = 3000;
// How long a later copy waits for the first to answer.
constexpr int kAnswerWaitMs = 3000;
// How long --quit waits for the running copy to save and end.
constexpr int kEndWaitMs = 30000;
// After accept ran out of descriptors, listening pauses this long.
constexpr int kAcceptPauseMs = 250;
// Connections taken in one turn of the event loop, so a flood cannot hold it.
constexpr int kAcceptsPerTurn = 32;

const char* Verb(SingleInstance::Request request) {
  switch (request) {
    case SingleInstance::Request::Restore: return "restore";
    case SingleInstance::Request::OpenSettings: return "settings";
    case SingleInstance::Request::Quit: return "quit";
  }
  return "restore";
}

// A folder only this user can use: a real directory (not a link), owned by
// the user, no access for group or others.
bool IsPrivateFolder(const QByteArray& path, bool fixMode, std::string* why) {
  struct stat info;
  if (::lstat(path.constData(), &info) != 0) {
    if (why) *why = path.toStdString() + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    if (why) *why = path.toStdString() + " はフォルダーではありません";
    return false;
  }
  if (info.st_uid != ::geteuid()) {
    if (why) *why = path.toStdString() + " は別のユーザーのものです";
    return false;
  }
  if ((info.st_mode & 077) != 0) {
    // Ours but open to others: closed again. What others may have left in
    // it meanwhile is refused by the owner check of the lock file.
    if (fixMode && ::chmod(path.constData(), 0700) == 0) return true;
    if (why) *why = path.toStdString() + " は他のユーザーも使えます";
    return false;
  }
  return true;
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

// Opens the lock file: a regular file of this user, never through a link.
int OpenLockFile(const QString& path, int flags) {
  const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
    ::close(fd);
    errno = EPERM;
    return -1;
  }
  return fd;
}

// True while some copy holds the lock file's lock.
bool LockHeld(const QString& lockPath) {
  const int fd = OpenLockFile(lockPath, O_RDONLY);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

// One request, one answer. Reply::NotRunning when nobody listens and no
// copy holds the lock (after waiting for one that is starting).
SingleInstance::Reply Exchange(const QString& socketPath, const QString& lockPath, SingleInstance::Request request) {
  sockaddr_un address;
  if (!SocketAddress(socketPath, address)) return SingleInstance::Reply::NoAnswer;
  const QDeadlineTimer deadline(kConnectWaitMs);
  int fd = -1;
  while (true) {
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return SingleInstance::Reply::NoAnswer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
    ::close(fd);
    fd = -1;
    if (!LockHeld(lockPath)) return SingleInstance::Reply::NotRunning;
    if (deadline.hasExpired()) return SingleInstance::Reply::NoAnswer;
    QThread::msleep(50);
  }
  const QByteArray line = QByteArray(kProtocol) + ' ' + Verb(request) + '\n';
  (void)!::send(fd, line.constData(), static_cast<size_t>(line.size()), MSG_NOSIGNAL);
  ::shutdown(fd, SHUT_WR);
  QByteArray answer;
  char buffer[SingleInstance::kMaxMessage];
  ssize_t got = 0;
  while (answer.size() < SingleInstance::kMaxMessage && WaitReadable(fd, kAnswerWaitMs) &&
         (got = ::read(fd, buffer, sizeof buffer)) > 0) {
    answer.append(buffer, got);
    if (answer.contains('\n')) break;
  }
  ::close(fd);
  if (answer == QByteArray(kProtocol) + " ok\n") return SingleInstance::Reply::Done;
  if (answer.startsWith(QByteArray(kProtocol) + " unsupported")) return SingleInstance::Reply::Unsupported;
  return SingleInstance::Reply::NoAnswer;
}

}  // namespace

struct SingleInstance::Client {
  int Fd = -1;
  QByteArray Buffer;
  std::unique_ptr<QSocketNotifier> Reader;
  std::unique_ptr<QTimer> Silence;
};

std::optional<QString> SingleInstance::RuntimeFolder(const QString& name, std::string* why) {
  std::string runtimeWhy;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
    if (IsPrivateFolder(runtime, false, &runtimeWhy)) return QFile::decodeName(runtime);
  }
  const char* tmp = std::getenv("TMPDIR");
  const QByteArray base = tmp && tmp[0] == '/' ? QByteArray(tmp) : QByteArray("/tmp");
  const QByteArray folder = base + '/' + QFile::encodeName(name.toLower()) + '-' + QByteArray::number(::geteuid());
  if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
    if (why) *why = folder.toStdString() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  if (!IsPrivateFolder(folder, true, why)) return std::nullopt;
  return QFile::decodeName(folder);
}

SingleInstance::SingleInstance(const QString& name) {
  std::string why;
  const std::optional<QString> dir = RuntimeFolder(name, &why);
  if (!dir) {
    std::fprintf(stderr, "%s: 安全な実行時フォルダーがないため、二重起動を確かめずに動きます (%s)。\n",
                 name.toLocal8Bit().constData(), why.c_str());
    return;
  }
  mHasFolder = true;
  mLockPath = *dir + QLatin1Char('/') + name + QStringLiteral(".lock");
  mSocketPath = *dir + QLatin1Char('/') + name + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
  for (auto& client : mClients) ::close(client->Fd);
  mClients.clear();
  if (mListenFd >= 0) {
    mListener.reset();
    ::close(mListenFd);
    ::unlink(QFile::encodeName(mSocketPath).constData());
  }
  if (mLockFd >= 0) ::close(mLockFd);  // releases the lock
}

bool SingleInstance::Claim() {
  if (mLockFd >= 0 || !mHasFolder) return true;
  const int fd = OpenLockFile(mLockPath, O_RDWR | O_CREAT);
  // Without a lock file of our own the copies cannot be told apart: run
  // rather than refuse to start, and say so.
  if (fd < 0) {
    std::fprintf(stderr, "Kelvora: ロックファイル %s を使えないため、二重起動を確かめずに動きます (%s)。\n",
                 QFile::encodeName(mLockPath).constData(), std::strerror(errno));
    mHasFolder = false;
    return true;
  }
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
  if (!bound || ::listen(fd, kMaxPendingClients) != 0) {
    ::close(fd);
    return;
  }
  mListenFd = fd;
  mListener = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(mListener.get(), &QSocketNotifier::activated, this, [this] { OnConnection(); });
}

void SingleInstance::OnConnection() {
  for (int taken = 0; taken < kAcceptsPerTurn; ++taken) {
    const int fd = ::accept4(mListenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        // Out of descriptors: the pending connection stays ready, so a
        // notifier left on would fire at once for ever. Listen again later.
        mListener->setEnabled(false);
        QTimer::singleShot(kAcceptPauseMs, this, [this] {
          if (mListener) mListener->setEnabled(true);
        });
      }
      return;
    }
    // Few pending clients: the one waiting longest makes room.
    if (static_cast<int>(mClients.size()) >= kMaxPendingClients) Drop(mClients.front().get());
    auto client = std::make_unique<Client>();
    Client* raw = client.get();
    raw->Fd = fd;
    raw->Reader = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(raw->Reader.get(), &QSocketNotifier::activated, this, [this, raw] { OnClientReadable(raw); });
    raw->Silence = std::make_unique<QTimer>();
    raw->Silence->setSingleShot(true);
    QObject::connect(raw->Silence.get(), &QTimer::timeout, this, [this, raw] { Drop(raw); });
    raw->Silence->start(kClientSilenceMs);
    mClients.push_back(std::move(client));
  }
}

void SingleInstance::OnClientReadable(Client* client) {
  char buffer[kMaxMessage];
  const ssize_t got = ::read(client->Fd, buffer, sizeof buffer);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (got <= 0) {
    Drop(client);
    return;
  }
  client->Buffer.append(buffer, got);
  const qsizetype end = client->Buffer.indexOf('\n');
  if (end >= 0 && end < kMaxMessage) {
    Handle(client, client->Buffer.left(end));
  } else if (client->Buffer.size() >= kMaxMessage) {
    Drop(client);  // longer than any request
  }
}

void SingleInstance::Drop(Client* client) {
  for (auto it = mClients.begin(); it != mClients.end(); ++it) {
    if (it->get() != client) continue;
    ::close(client->Fd);
    // The notifier or timer that called may be the one going: delete later.
    (*it)->Reader->setEnabled(false);
    (*it)->Silence->stop();
    (*it)->Reader.release()->deleteLater();
    (*it)->Silence.release()->deleteLater();
    mClients.erase(it);
    return;
  }
}

void SingleInstance::Handle(Client* client, const QByteArray& line) {
  const QByteArray prefix = QByteArray(kProtocol) + ' ';
  QByteArray verb;
  if (line == "restore") {
    verb = "restore";
  } else if (line.startsWith(prefix)) {
    verb = line.mid(prefix.size());
  }
  const bool known = verb == "restore" || verb == "settings" || verb == "quit";
  const QByteArray answer = QByteArray(kProtocol) + (known ? " ok\n" : " unsupported\n");
  (void)!::send(client->Fd, answer.constData(), static_cast<size_t>(answer.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
  Drop(client);
  // Acted on from the event loop, out of this notifier's call.
  if (verb == "restore") {
    QTimer::singleShot(0, this, [this] { RestoreLastActiveWindow(); });
  } else if (verb == "settings") {
    QTimer::singleShot(0, this, [this] {
      if (OpenSettings) OpenSettings();
      else RestoreLastActiveWindow();
    });
  } else if (verb == "quit") {
    QTimer::singleShot(0, this, [this] {
      if (Quit) Quit();
      else QCoreApplication::quit();
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

SingleInstance::Reply SingleInstance::Ask(Request request) const {
  if (!mHasFolder) return Reply::NoFolder;
  return Exchange(mSocketPath, mLockPath, request);
}

SingleInstance::Reply SingleInstance::AskRunningCopy(const QString& name, Request request) {
  const std::optional<QString> dir = RuntimeFolder(name, nullptr);
  if (!dir) return Reply::NoFolder;
  const QString lockPath = *dir + QLatin1Char('/') + name + QStringLiteral(".lock");
  const Reply reply = Exchange(*dir + QLatin1Char('/') + name + QStringLiteral(".socket"), lockPath, request);
  if (reply != Reply::Done || request != Request::Quit) return reply;
  // Ended when its lock is released, after its settings were saved.
  const QDeadlineTimer deadline(kEndWaitMs);
  while (LockHeld(lockPath)) {
    if (deadline.hasExpired()) return Reply::NoAnswer;
    QThread::msleep(50);
  }
  return Reply::Done;
}

}  // namespace platform::qt
