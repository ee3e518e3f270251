#include "platform/Application.h"

#include <QApplication>
#include <QFont>

#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtControlFactory.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtShell.h"
#include "platform/Shell.h"

namespace platform {
namespace {
std::string gTitle;

// Faces the program's documents and settings name that Linux does not
// have, mapped to the installed Japanese face.
void SubstituteFonts() {
  const QStringList japanese{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
  for (const char* face : {"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ゴシック", "MS Gothic", "MS UI Gothic", "ＭＳ 明朝",
                           "MS Mincho", "ＭＳ Ｐ明朝", "MS PMincho"}) {
    QFont::insertSubstitutions(QString::fromUtf8(face), japanese);
  }
  const QString gui = QFont().family();
  QFont::insertSubstitutions(gui, japanese);
}
}  // namespace

struct Application::Impl {
  Impl(int& argc, char** argv) : App(argc, argv) {}
  QApplication App;
  qt::QtScreen Screen;
  qt::QtMessageBox MessageBox;
  qt::QtClipboard Clipboard;
  qt::IniSettingsStore Settings;
  qt::QtControlFactory Controls;
  qt::QtShell Shell;
  ScopedService<IScreen> InstallScreen{Screen};
  ScopedService<IMessageBox> InstallMessageBox{MessageBox};
  ScopedService<IClipboard> InstallClipboard{Clipboard};
  ScopedService<ISettingsStore> InstallSettings{Settings};
  ScopedService<IControlFactory> InstallControls{Controls};
  ScopedService<IShell> InstallShell{Shell};
};

Application::Application(int& argc, char** argv, const std::string& title) {
  gTitle = title;
  QApplication::setApplicationName(qt::ToQ(title));
  mImpl = std::make_unique<Impl>(argc, argv);
  SubstituteFonts();
}

Application::~Application() = default;

const std::string& Application::Title() { return gTitle; }
int Application::Run() { return QApplication::exec(); }
void Application::Quit() { QApplication::quit(); }
void Application::DoEvents() { QApplication::processEvents(); }

}  // namespace platform
