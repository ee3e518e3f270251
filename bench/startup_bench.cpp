// Start-up and idle cost of the clock against a minimal Qt clock (a
// frameless widget with two labels, the time and the Japanese weekday and
// date, updated by a 500 ms timer), in one run on
// the same X display:
//   - start to first frame: from the start of the process until its window
//     shows text on the screen (the screen is grabbed every few ms);
//   - resident memory 10 s after the start;
//   - CPU time and wake-ups (context switches of all threads) per second
//     while the clock ticks idle.
//
//   bench_startup [--runs N] [--idle SECONDS] [--program PATH]
// Needs DISPLAY (an X server: Xvfb is fine). Each run gets fresh settings
// and runtime folders. `bench_startup --minimal-clock` is the peer itself.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// ---- the peer

int RunMinimalClock(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window(nullptr, Qt::FramelessWindowHint | Qt::Tool);
  auto* layout = new QVBoxLayout(&window);
  auto* time = new QLabel(&window);
  auto* date = new QLabel(&window);
  for (QLabel* label : {time, date}) {
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  QFont font = time->font();
  font.setPointSize(16);
  time->setFont(font);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  auto update = [&] {
    const QDateTime now = QDateTime::currentDateTime();
    time->setText(now.toString(QStringLiteral("HH:mm:ss")));
    // The clock's own second row, in Japanese ("月曜日 12/07").
    date->setText(japanese.toString(now, QStringLiteral("dddd MM/dd")));
  };
  update();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, update);
  timer.start(500);
  window.resize(104, 75);
  const QRect area = window.screen()->availableGeometry();
  window.move(area.right() - 104, area.top());
  window.show();
  return app.exec();
}

// ---- measuring

struct Sample {
  double FirstFrameMs = -1;
  double RssMb = 0;
  double CpuPercent = 0;
  double WakeupsPerSecond = 0;
};

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const bool replaced = std::any_of(extraEnv.begin(), extraEnv.end(), [&](const std::string& x) {
      return entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
    });
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<std::string> argsCopy = args;
  std::vector<char*> argv, envp;
  for (auto& a : argsCopy) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

// Pixels of text: dark pixels in the region that changed against the
// screen before the start.
int TextPixelsChanged(const QImage& before, const QImage& now) {
  int count = 0;
  for (int y = 0; y < now.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(now.constScanLine(y));
    for (int x = 0; x < now.width(); ++x) {
      if (a[x] != b[x] && qGray(b[x]) < 80) ++count;
    }
  }
  return count;
}

QImage Grab() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// utime + stime in seconds, all threads.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  double utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stod(field);
    if (i == 15) {
      stime = std::stod(field);
      break;
    }
  }
  return (utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double StatusValue(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) == 0) return std::atof(line.c_str() + key.size());
  }
  return 0;
}

// Context switches of every thread: each is a wake-up of that thread.
double ContextSwitches(pid_t pid) {
  double total = 0;
  const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
  for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const std::string status = tasks.filePath(tid).toStdString() + "/status";
    total += StatusValue(status, "voluntary_ctxt_switches:") + StatusValue(status, "nonvoluntary_ctxt_switches:");
  }
  return total;
}

Sample Measure(const std::vector<std::string>& command, int idleSeconds) {
  Sample sample;
  QTemporaryDir home;
  const std::string dir = home.path().toStdString();
  QDir(home.path()).mkpath(QStringLiteral("runtime"));
  QFile::setPermissions(home.path() + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const std::vector<std::string> env = {"XDG_CONFIG_HOME=" + dir + "/config", "XDG_RUNTIME_DIR=" + dir + "/runtime"};

  const QImage before = Grab();
  QElapsedTimer clock;
  clock.start();
  const pid_t pid = Spawn(command, env);
  if (pid < 0) return sample;
  while (clock.elapsed() < 10000) {
    if (TextPixelsChanged(before, Grab()) > 30) {
      sample.FirstFrameMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      break;
    }
    QThread::msleep(2);
  }
  // Settle, then take memory and the idle cost.
  while (clock.elapsed() < 10000) QThread::msleep(50);
  sample.RssMb = StatusValue("/proc/" + std::to_string(pid) + "/status", "VmRSS:") / 1024.0;
  const double cpu0 = CpuSeconds(pid);
  const double switches0 = ContextSwitches(pid);
  const qint64 t0 = clock.elapsed();
  QThread::sleep(static_cast<unsigned long>(idleSeconds));
  const double seconds = static_cast<double>(clock.elapsed() - t0) / 1000.0;
  sample.CpuPercent = 100.0 * (CpuSeconds(pid) - cpu0) / seconds;
  sample.WakeupsPerSecond = (ContextSwitches(pid) - switches0) / seconds;
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return sample;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Summary {
  double FirstFrameMs, RssMb, CpuPercent, WakeupsPerSecond;
};

Summary Summarise(const std::vector<Sample>& samples) {
  std::vector<double> f, r, c, w;
  for (const Sample& s : samples) {
    f.push_back(s.FirstFrameMs);
    r.push_back(s.RssMb);
    c.push_back(s.CpuPercent);
    w.push_back(s.WakeupsPerSecond);
  }
  return {Median(f), Median(r), Median(c), Median(w)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--minimal-clock") return RunMinimalClock(argc, argv);

  int runs = 5;
  int idleSeconds = 60;
  std::string program = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath().toStdString() + "/../clock/Kelvora";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::atoi(argv[i + 1]);
    else if (option == "--idle") idleSeconds = std::atoi(argv[i + 1]);
    else if (option == "--program") program = argv[i + 1];
  }
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "bench_startup: needs an X display (DISPLAY)\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  QApplication app(argc, argv);

  const std::vector<std::string> self = {QCoreApplication::applicationFilePath().toStdString(), "--minimal-clock"};
  std::vector<Sample> clock, peer;
  for (int run = 0; run < runs; ++run) {
    clock.push_back(Measure({program}, idleSeconds));
    peer.push_back(Measure(self, idleSeconds));
    std::printf("run %d: clock %.1f ms %.1f MB %.3f %% %.1f/s | minimal %.1f ms %.1f MB %.3f %% %.1f/s\n", run + 1,
                clock.back().FirstFrameMs, clock.back().RssMb, clock.back().CpuPercent, clock.back().WakeupsPerSecond,
                peer.back().FirstFrameMs, peer.back().RssMb, peer.back().CpuPercent, peer.back().WakeupsPerSecond);
    std::fflush(stdout);
  }
  const Summary a = Summarise(clock), b = Summarise(peer);
  std::printf("\nmedian of %d runs, idle over %d s   clock      minimal    ratio\n", runs, idleSeconds);
  std::printf("start to first frame (ms)      %9.1f  %9.1f  %6.2f\n", a.FirstFrameMs, b.FirstFrameMs,
              a.FirstFrameMs / b.FirstFrameMs);
  std::printf("resident memory at 10 s (MB)   %9.1f  %9.1f  %6.2f\n", a.RssMb, b.RssMb, a.RssMb / b.RssMb);
  std::printf("CPU while idle (%% of a core)   %9.3f  %9.3f  %6.2f\n", a.CpuPercent, b.CpuPercent,
              b.CpuPercent > 0 ? a.CpuPercent / b.CpuPercent : 0);
  std::printf("wake-ups per second            %9.1f  %9.1f  %6.2f\n", a.WakeupsPerSecond, b.WakeupsPerSecond,
              b.WakeupsPerSecond > 0 ? a.WakeupsPerSecond / b.WakeupsPerSecond : 0);
  return 0;
}
