#include "platform/Application.h"

#include <QApplication>
#include <QFont>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QSocketNotifier>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <stdexcept>
#include <malloc.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/EventLoop.h"
#include "platform/ScopedValue.h"
#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtCommonDialogs.h"
#include "platform/qt/QtProcessStarter.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/QtControlFactory.h"
#include "platform/qt/QtDoNotDisturb.h"
#include "platform/qt/QtPopupMenu.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/X11Desktop.h"
#include "platform/PlatformChoice.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

namespace platform {
namespace {
std::string gTitle;
Application* gCurrent = nullptr;

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

Application::ErrorReporter& Reporter() {
  static Application::ErrorReporter reporter;
  return reporter;
}
bool gReporting = false;

void ReportEscaped(const std::exception& error) {
  // An error escaping while a report is on screen is only logged: reports
  // stacked on each other by their own event loops would never end.
  if (gReporting || !Reporter()) {
    std::fprintf(stderr, "Kelvora: %s\n", error.what());
    return;
  }
  ScopedValue reporting(gReporting, true);
  try {
    Reporter()(error);
  } catch (const std::exception& failed) {
    std::fprintf(stderr, "Kelvora: %s\n", failed.what());
  }
}

// Programming errors (std::logic_error) still stop the program.
template <typename Step>
bool RunGuarded(Step&& step) {
  try {
    step();
    return true;
  } catch (const std::logic_error&) {
    throw;
  } catch (const std::exception& error) {
    ReportEscaped(error);
    return false;
  }
}

// Every event and every timer or slot call reaches its handler through
// notify, so one guard here covers them all.
class GuardedApplication final : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override {
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
  }
};

int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[0], &byte, 1);
}

// The loop as the component runtime and component modules reach it.
void ProcessEvents() { QApplication::processEvents(); }
void PostWhenIdle(std::function<void()> step) {
  QTimer::singleShot(0, QCoreApplication::instance(), [step = std::move(step)] { RunGuarded(step); });
}
}  // namespace

struct Application::Impl {
  Impl(int& argc, char** argv) : App(argc, argv) {}
  ~Impl() {
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) std::signal(sig, SIG_DFL);
  }
  void RunShutdown() {
    if (!Shutdown) return;
    auto handler = std::move(Shutdown);
    Shutdown = nullptr;
    handler();
  }
  GuardedApplication App;
  bool Running = false;       // Run has started the message loop
  bool EndRequested = false;  // a termination came before it did
  std::function<void()> Shutdown;
  std::function<void()> OpenSettings;
  std::unique_ptr<QSocketNotifier> SignalNotifier;
  EventLoop PreviousLoop;
  qt::QtScreen Screen;
  qt::QtMessageBox MessageBox;
  qt::QtClipboard Clipboard;
  qt::IniSettingsStore Settings;
  qt::QtControlFactory Controls;
  qt::QtShell Shell;
  qt::QtPopupMenu PopupMenu;
  std::unique_ptr<qt::SingleInstance> Instance;
  qt::QtCommonDialogs CommonDialogs;
  qt::QtProcessStarter ProcessStarter;
  // Qt's own dialogs (files, fonts, colours) in Japanese.
  QTranslator QtTranslator;
  ScopedService<IScreen> InstallScreen{Screen};
  ScopedService<IMessageBox> InstallMessageBox{MessageBox};
  ScopedService<IClipboard> InstallClipboard{Clipboard};
  ScopedService<ISettingsStore> InstallSettings{Settings};
  ScopedService<IControlFactory> InstallControls{Controls};
  ScopedService<IShell> InstallShell{Shell};
  ScopedService<IPopupMenu> InstallPopupMenu{PopupMenu};
  ScopedService<ICommonDialogs> InstallCommonDialogs{CommonDialogs};
  ScopedService<IProcessStarter> InstallProcessStarter{ProcessStarter};
  qt::QtTrayIcon Tray;
  ScopedService<ITrayIcon> InstallTray{Tray};
  qt::QtDoNotDisturb DoNotDisturb;
  ScopedService<IDoNotDisturb> InstallDoNotDisturb{DoNotDisturb};
};

Application::Application(int& argc, char** argv, const std::string& title) {
  gTitle = title;
  const std::string platformName = ChooseWindowingPlatform([](const char* name) { return std::getenv(name); });
  if (!platformName.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platformName));
  QApplication::setApplicationName(qt::ToQ(title));
  mImpl = std::make_unique<Impl>(argc, argv);
  gCurrent = this;
  mImpl->PreviousLoop = InstallEventLoop({&ProcessEvents, &PostWhenIdle});
  // The program speaks Japanese whatever the session's language, and so do
  // the toolkit's dialogs (their texts are in qtbase_ja.qm, dates and file
  // kinds follow the default locale).
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  if (mImpl->QtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&mImpl->QtTranslator);
  }
  SubstituteFonts();
}

Application::~Application() {
  // The sound device stops while the application and its libraries are
  // still whole, never from the engine's static destructor after main.
  ShutdownSoundOutput();
  InstallEventLoop(mImpl->PreviousLoop);
  if (gCurrent == this) gCurrent = nullptr;
}

const std::string& Application::Title() { return gTitle; }
Application& Application::Current() {
  if (!gCurrent) throw std::logic_error("no application");
  return *gCurrent;
}
int Application::Run() {
  // A termination that arrived during start-up is handled now, with the
  // windows made: the same unload chain, and no loop to run.
  mImpl->Running = true;
  if (mImpl->EndRequested) {
    mImpl->RunShutdown();
    return 0;
  }
  return QApplication::exec();
}
void Application::Quit() { QApplication::quit(); }

namespace {

// Watches one window for its first paint; the step runs from the loop once
// that paint (and its flush to the window system) is over.
class FirstFrameWatcher final : public QObject {
 public:
  FirstFrameWatcher(QWidget* widget, std::function<void()> step) : QObject(QCoreApplication::instance()),
                                                                    mStep(std::move(step)) {
    if (widget) {
      mWidget = widget;
      mForWindow = true;
      widget->installEventFilter(this);
    }
    QTimer::singleShot(mWidget ? 1000 : 0, this, [this] { Run(); });
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == mWidget && event->type() == QEvent::Paint) {
      mWidget->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] { Run(); });
    }
    return false;
  }

 private:
  void Run() {
    if (!mStep) return;
    // The step belongs to its window's owner: a window gone before its
    // first frame takes the step along.
    if (mForWindow && !mWidget) {
      mStep = nullptr;
      deleteLater();
      return;
    }
    if (mWidget) mWidget->removeEventFilter(this);
    const std::function<void()> step = std::move(mStep);
    mStep = nullptr;
    deleteLater();
    RunGuarded(step);
  }

  QPointer<QWidget> mWidget;
  bool mForWindow = false;
  std::function<void()> mStep;
};

}  // namespace

void Application::RunAfterFirstFrame(const IForm& form, std::function<void()> step) {
  if (!QCoreApplication::instance() || !step) return;
  new FirstFrameWatcher(qt::WidgetOf(form), std::move(step));
}

namespace {
qt::SingleInstance::Request ToQtRequest(Application::InstanceRequest request) {
  switch (request) {
    case Application::InstanceRequest::OpenSettings: return qt::SingleInstance::Request::OpenSettings;
    case Application::InstanceRequest::Quit: return qt::SingleInstance::Request::Quit;
    case Application::InstanceRequest::Restore: break;
  }
  return qt::SingleInstance::Request::Restore;
}
}  // namespace

bool Application::PrevInstance() { return PrevInstance(InstanceRequest::Restore); }

bool Application::PrevInstance(InstanceRequest request) {
  Impl& impl = *mImpl;
  if (!impl.Instance) {
    impl.Instance = std::make_unique<qt::SingleInstance>(qt::ToQ(gTitle));
    impl.Instance->OpenSettings = [&impl] {
      if (impl.OpenSettings) impl.OpenSettings();
      else impl.Instance->RestoreLastActiveWindow();
    };
    impl.Instance->Quit = [&impl] {
      impl.RunShutdown();
      QCoreApplication::quit();
    };
  }
  // A first copy that ends between our claim and our request has let go of
  // its lock: try once more to be first.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (impl.Instance->Claim()) return false;
    if (impl.Instance->Ask(ToQtRequest(request)) != qt::SingleInstance::Reply::NotRunning) return true;
  }
  return true;
}

Application::InstanceReply Application::AskRunningCopy(const std::string& title, InstanceRequest request) {
  switch (qt::SingleInstance::AskRunningCopy(qt::ToQ(title), ToQtRequest(request))) {
    case qt::SingleInstance::Reply::Done: return InstanceReply::Done;
    case qt::SingleInstance::Reply::NotRunning: return InstanceReply::NotRunning;
    case qt::SingleInstance::Reply::Unsupported: return InstanceReply::Unsupported;
    case qt::SingleInstance::Reply::NoFolder: return InstanceReply::NoFolder;
    case qt::SingleInstance::Reply::NoAnswer: break;
  }
  return InstanceReply::NoAnswer;
}

void Application::SetOpenSettingsHandler(std::function<void()> handler) { mImpl->OpenSettings = std::move(handler); }

void Application::ReturnFreeMemory() { malloc_trim(0); }

void Application::SetIcon(const std::string& pictureFile) {
  // Read by the format its name says (PNG is built in), so that neither
  // the icon engines nor every image-format plugin are loaded to guess it.
  const QString file = qt::ToQ(pictureFile);
  if (!QFileInfo(file).isFile()) return;
  const QByteArray suffix = QFileInfo(file).suffix().toLower().toLatin1();
  QImageReader reader(file, suffix.isEmpty() ? QByteArray() : suffix);
  reader.setAutoDetectImageFormat(suffix.isEmpty());
  const QImage image = reader.read();
  if (!image.isNull()) QApplication::setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

bool Application::CanPlaceWindows() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
bool Application::HasWindowManager() { return qt::x11::HasWindowManager(); }

Application::ErrorReporter Application::SetErrorReporter(ErrorReporter reporter) {
  ErrorReporter old = std::move(Reporter());
  Reporter() = std::move(reporter);
  return old;
}

bool Application::Guard(const std::function<void()>& step) { return RunGuarded(step); }

void Application::SetShutdownHandler(std::function<void()> handler) {
  Impl& impl = *mImpl;
  impl.Shutdown = std::move(handler);
  QObject::connect(&impl.App, &QGuiApplication::commitDataRequest, [&impl] { impl.RunShutdown(); });
  QObject::connect(&impl.App, &QCoreApplication::aboutToQuit, [&impl] { impl.RunShutdown(); });
  // Signals only write a byte; the loop reads it and quits in order.
  if (gSignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) == 0) {
    impl.SignalNotifier = std::make_unique<QSocketNotifier>(gSignalPipe[1], QSocketNotifier::Read);
    // During start-up only a message box's own loop can see the byte: the
    // box closes with its cautious answer, the start goes on without asking
    // more, and Run ends the program once the windows are made.
    QObject::connect(impl.SignalNotifier.get(), &QSocketNotifier::activated, [&impl] {
      char byte = 0;
      [[maybe_unused]] const ssize_t got = ::read(gSignalPipe[1], &byte, 1);
      qt::QtMessageBox::EndAll();
      if (!impl.Running) {
        impl.EndRequested = true;
        return;
      }
      impl.RunShutdown();
      QCoreApplication::quit();
    });
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) std::signal(sig, OnSignal);
  }
}

}  // namespace platform
