#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/qt/QtConvert.h"

namespace platform::qt {

bool QtShell::Open(const std::string& target) {
  const QString text = ToQ(target);
  if (text.isEmpty()) return false;
  // A path that exists is a local file; anything else is taken as an address.
  const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath())
                                           : QUrl(text, QUrl::StrictMode);
  if (!url.isValid()) return false;
  return QDesktopServices::openUrl(url);
}

}  // namespace platform::qt
