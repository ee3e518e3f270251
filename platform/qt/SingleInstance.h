#pragma once
// One running copy per user: a lock file held for the run decides which copy
// is first; a Unix socket beside it carries the later copies' requests
// (restore the last active window, open the settings, end).
//
// Both live in the user's runtime folder: $XDG_RUNTIME_DIR when it is a
// private folder of this user, else <tmp>/<name lowercased>-<uid>, created
// 0700 and checked (owner, mode, no symlink). Where no such folder exists
// the copy runs without the check and says so once on stderr.
//
// The protocol is one line each way, at most kMaxMessage bytes:
//   request "KELVORA/1 restore" | "KELVORA/1 settings" | "KELVORA/1 quit"
//   answer  "KELVORA/1 ok" | "KELVORA/1 unsupported"
// A bare "restore" line (older copies) is a restore request.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;
class QTimer;
class QWidget;

namespace platform::qt {

class SingleInstance final : public QObject {
 public:
  enum class Request { Restore, OpenSettings, Quit };
  enum class Reply { Done, NotRunning, NoAnswer, Unsupported, NoFolder };

  // name: the program's name; the lock and the socket live in the user's
  // runtime folder under it.
  explicit SingleInstance(const QString& name);
  ~SingleInstance() override;

  // True when this copy is the first (or no safe runtime folder exists):
  // it then keeps the lock and listens.
  bool Claim();
  // Sends a request to the first copy. Waits briefly for a first copy that
  // holds the lock but does not listen yet.
  Reply Ask(Request request) const;
  // Sends a request to the copy running for this user without claiming
  // anything (no application object needed). With Quit, also waits until
  // that copy has ended (its lock is released).
  static Reply AskRunningCopy(const QString& name, Request request);

  // What this copy does on a request to open its settings or to end.
  std::function<void()> OpenSettings;
  std::function<void()> Quit;

  // The runtime folder the lock and socket live in; nullopt when no safe
  // one exists (why then says why, in Japanese).
  static std::optional<QString> RuntimeFolder(const QString& name, std::string* why);

  // Restores the window the user last worked in when it is minimised,
  // without bringing it to the front.
  void RestoreLastActiveWindow();

  static constexpr int kMaxMessage = 64;
  static constexpr int kMaxPendingClients = 4;
  static constexpr int kClientSilenceMs = 1000;

 private:
  struct Client;
  void Listen();
  void OnConnection();
  void OnClientReadable(Client* client);
  void Drop(Client* client);
  void Handle(Client* client, const QByteArray& line);

  QString mLockPath;
  QString mSocketPath;
  bool mHasFolder = false;
  int mLockFd = -1;
  int mListenFd = -1;
  std::unique_ptr<QSocketNotifier> mListener;
  std::list<std::unique_ptr<Client>> mClients;
  QPointer<QWidget> mLastActive;
};

}  // namespace platform::qt
