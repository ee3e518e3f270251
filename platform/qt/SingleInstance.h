#pragma once
// One running copy per user: a lock file held for the run decides which copy
// is first; a Unix socket beside it carries the later copies' request to
// restore the first copy's last active window.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QSocketNotifier;
class QWidget;

namespace platform::qt {

class SingleInstance final : public QObject {
 public:
  // name: the program's name; the lock and the socket live in the user's
  // runtime folder under it.
  explicit SingleInstance(const QString& name);
  ~SingleInstance() override;

  // True when this copy is the first: it then keeps the lock and listens.
  bool Claim();
  // Asks the first copy to restore its window. Waits briefly for a first
  // copy that holds the lock but does not listen yet.
  void AskFirstToRestore() const;

 private:
  void Listen();
  void OnRequest();
  void RestoreLastActiveWindow();

  QString mLockPath;
  QString mSocketPath;
  int mLockFd = -1;
  int mListenFd = -1;
  std::unique_ptr<QSocketNotifier> mListener;
  QPointer<QWidget> mLastActive;
};

}  // namespace platform::qt
