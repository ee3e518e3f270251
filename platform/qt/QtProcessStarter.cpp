#include "platform/qt/QtProcessStarter.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/qt/QtConvert.h"

namespace platform::qt {

bool QtProcessStarter::StartFirstInstalled(const std::vector<ProgramCommand>& candidates) {
  for (const ProgramCommand& command : candidates) {
    const QString program = ToQ(command.Program);
    if (program.isEmpty()) continue;
    // A bare name is looked up on the search path; a path must name an
    // executable file.
    QString path;
    if (program.contains(QLatin1Char('/'))) {
      const QFileInfo info(program);
      if (info.isFile() && info.isExecutable()) path = info.absoluteFilePath();
    } else {
      path = QStandardPaths::findExecutable(program);
    }
    if (path.isEmpty()) continue;
    QStringList arguments;
    for (const std::string& argument : command.Arguments) arguments << ToQ(argument);
    if (QProcess::startDetached(path, arguments)) return true;
  }
  return false;
}

}  // namespace platform::qt
