// What a user gets when the clock starts, against a minimal Qt clock
// (bench_minimal_clock: a frameless widget with two labels, the time and the
// Japanese weekday and date, on a 500 ms timer), in one run on the same X
// display, interleaved round by round:
//   - exec to the first frame with the clock's text, as the X server shows
//     it: this program is an X client that watches the screen through the
//     DAMAGE extension; after each change it reads back the part of the
//     screen covered by the started program's windows (found by their
//     _NET_WM_PID) and takes the first frame that shows text there, dark
//     pixels inside the window away from its edges (the bevel is not text);
//   - resident and proportional memory (Rss, Pss) 10 s after the exec;
//   - CPU time and wake-ups (context switches of all threads) per second
//     while the clock then ticks idle.
// Every start is a fresh user: its own HOME and XDG folders, with the
// clock's components (Quillet, the PC-buzzer control) registered for it
// beforehand, as the installation or scripts/run.sh does; default settings.
//
//   bench_startup [--runs N] [--idle SECONDS] [--program PATH] [--peer PATH] [--frames DIR]
// --frames saves the frame that counted as first, of each program's last
// start, as DIR/kelvora.ppm and DIR/minimal.ppm (the window's inside).
// Needs DISPLAY (an X server with DAMAGE: Xvfb is fine) with no other
// program starting meanwhile. One warm-up round is not counted.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "tools/ChildProcess.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// ---- a fresh user

struct FreshUser {
  fs::path Home;
  std::vector<std::string> Env;

  FreshUser() {
    std::string pattern = (fs::temp_directory_path() / "kv-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      std::perror("bench_startup: mkdtemp");
      std::exit(1);
    }
    Home = pattern;
    for (const char* sub : {"config", "data", "cache", "state", "runtime"}) fs::create_directories(Home / sub);
    ::chmod((Home / "runtime").c_str(), 0700);
    Env = {"HOME=" + Home.string(),
           "XDG_CONFIG_HOME=" + (Home / "config").string(),
           "XDG_DATA_HOME=" + (Home / "data").string(),
           "XDG_CACHE_HOME=" + (Home / "cache").string(),
           "XDG_STATE_HOME=" + (Home / "state").string(),
           "XDG_RUNTIME_DIR=" + (Home / "runtime").string()};
  }
  ~FreshUser() {
    std::error_code ignored;
    fs::remove_all(Home, ignored);
  }
  FreshUser(const FreshUser&) = delete;
  FreshUser& operator=(const FreshUser&) = delete;
};

// ---- /proc

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A "Key:   123 kB" line of a /proc file, in kB.
double ProcValue(const std::string& path, const std::string& key) {
  std::istringstream lines(ReadFile(path));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.compare(0, key.size(), key) == 0) return std::atof(line.c_str() + key.size());
  }
  return 0;
}

// utime + stime in seconds, all threads.
double CpuSeconds(pid_t pid) {
  const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
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

// Context switches of every thread: each is a wake-up of that thread.
double ContextSwitches(pid_t pid) {
  double total = 0;
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    const std::string status = (task.path() / "status").string();
    total += ProcValue(status, "voluntary_ctxt_switches:") + ProcValue(status, "nonvoluntary_ctxt_switches:");
  }
  return total;
}

// ---- the screen as the X server shows it

class ScreenWatcher {
 public:
  ScreenWatcher() {
    mDisplay = XOpenDisplay(nullptr);
    if (!mDisplay) {
      std::fprintf(stderr, "bench_startup: cannot open the X display\n");
      std::exit(2);
    }
    int error = 0;
    if (!XDamageQueryExtension(mDisplay, &mDamageEvent, &error)) {
      std::fprintf(stderr, "bench_startup: the X server has no DAMAGE extension\n");
      std::exit(2);
    }
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows may vanish meanwhile
    mRoot = DefaultRootWindow(mDisplay);
    mScreenWidth = DisplayWidth(mDisplay, DefaultScreen(mDisplay));
    mScreenHeight = DisplayHeight(mDisplay, DefaultScreen(mDisplay));
    mPidAtom = XInternAtom(mDisplay, "_NET_WM_PID", False);
    XSelectInput(mDisplay, mRoot, SubstructureNotifyMask);
    mDamage = XDamageCreate(mDisplay, mRoot, XDamageReportNonEmpty);
    XSync(mDisplay, False);
  }
  ~ScreenWatcher() {
    XDamageDestroy(mDisplay, mDamage);
    XCloseDisplay(mDisplay);
  }

  // Where the frame that counts is saved (empty: nowhere).
  void SetDumpFile(const std::string& file) { mDumpFile = file; }

  // Forgets what happened so far (before the next start).
  void Reset() {
    XSync(mDisplay, False);
    while (XPending(mDisplay)) {
      XEvent event;
      XNextEvent(mDisplay, &event);
    }
    XDamageSubtract(mDisplay, mDamage, None, None);
    XSync(mDisplay, False);
    mWindows.clear();
  }

  // Waits until a window of pid shows text; ms since t0, or nothing.
  std::optional<double> FirstTextFrame(pid_t pid, Clock::time_point t0, double timeoutMs) {
    while (MsSince(t0) < timeoutMs) {
      pollfd fd{ConnectionNumber(mDisplay), POLLIN, 0};
      if (!XPending(mDisplay)) ::poll(&fd, 1, static_cast<int>(std::max(1.0, timeoutMs - MsSince(t0))));
      bool damaged = false;
      double when = 0;
      while (XPending(mDisplay)) {
        XEvent event;
        XNextEvent(mDisplay, &event);
        switch (event.type) {
          case CreateNotify: mWindows[event.xcreatewindow.window] = false; break;
          case MapNotify: mWindows[event.xmap.window] = true; break;
          case UnmapNotify: mWindows[event.xunmap.window] = false; break;
          case DestroyNotify: mWindows.erase(event.xdestroywindow.window); break;
          default:
            if (event.type == mDamageEvent + XDamageNotify) {
              if (!damaged) when = MsSince(t0);
              damaged = true;
            }
        }
      }
      if (!damaged) continue;
      XDamageSubtract(mDisplay, mDamage, None, None);
      for (const auto& [window, mapped] : mWindows) {
        if (mapped && BelongsTo(window, pid) && ShowsText(window)) return when;
      }
    }
    return std::nullopt;
  }

 private:
  // The window or one of its children (a window manager's frame) carries
  // the program's process id.
  bool BelongsTo(Window window, pid_t pid) {
    if (WindowPid(window) == pid) return true;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    bool found = false;
    if (XQueryTree(mDisplay, window, &root, &parent, &children, &count)) {
      for (unsigned i = 0; i < count && !found; ++i) found = WindowPid(children[i]) == pid;
      if (children) XFree(children);
    }
    return found;
  }

  long WindowPid(Window window) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(mDisplay, window, mPidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                           &data) == Success &&
        data) {
      if (format == 32 && items == 1) pid = *reinterpret_cast<long*>(data);
      XFree(data);
    }
    return pid;
  }

  // Text: more than a few dozen dark pixels on the screen inside the
  // window, kEdge pixels away from its border, on a light ground (a window
  // mapped before its first paint shows black).
  bool ShowsText(Window window) {
    constexpr int kEdge = 6;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(mDisplay, window, &attributes) || attributes.map_state != IsViewable) return false;
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(mDisplay, window, mRoot, 0, 0, &x, &y, &child);
    const int left = std::max(x + kEdge, 0), top = std::max(y + kEdge, 0);
    const int right = std::min(x + attributes.width - kEdge, mScreenWidth);
    const int bottom = std::min(y + attributes.height - kEdge, mScreenHeight);
    if (right <= left || bottom <= top) return false;
    XImage* image = XGetImage(mDisplay, mRoot, left, top, static_cast<unsigned>(right - left),
                              static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
    if (!image) return false;
    const auto channel = [](unsigned long pixel, unsigned long mask) {
      if (!mask) return 0.0;
      int shift = 0;
      while (!((mask >> shift) & 1)) ++shift;
      return static_cast<double>((pixel & mask) >> shift) / static_cast<double>(mask >> shift);
    };
    int dark = 0;
    for (int row = 0; row < image->height; ++row) {
      for (int col = 0; col < image->width; ++col) {
        const unsigned long pixel = XGetPixel(image, col, row);
        const double luminance = 0.299 * channel(pixel, image->red_mask) + 0.587 * channel(pixel, image->green_mask) +
                                 0.114 * channel(pixel, image->blue_mask);
        if (luminance < 0.4) ++dark;
      }
    }
    const bool text = dark > 30 && dark < image->width * image->height / 2;
    if (text && !mDumpFile.empty()) {
      // The frame that counted, as a PPM picture, for checking by eye.
      std::ofstream out(mDumpFile, std::ios::binary);
      out << "P6\n" << image->width << ' ' << image->height << "\n255\n";
      for (int row = 0; row < image->height; ++row) {
        for (int col = 0; col < image->width; ++col) {
          const unsigned long pixel = XGetPixel(image, col, row);
          for (unsigned long mask : {image->red_mask, image->green_mask, image->blue_mask}) {
            out.put(static_cast<char>(channel(pixel, mask) * 255 + 0.5));
          }
        }
      }
    }
    XDestroyImage(image);
    return text;
  }

  Display* mDisplay = nullptr;
  Window mRoot = 0;
  Damage mDamage = 0;
  int mDamageEvent = 0;
  int mScreenWidth = 0;
  int mScreenHeight = 0;
  Atom mPidAtom = None;
  std::map<Window, bool> mWindows;  // top-level windows: mapped?
  std::string mDumpFile;
};

// ---- one start

struct Sample {
  double FirstFrameMs = NAN;
  double RssMb = NAN;
  double PssMb = NAN;
  double CpuPercent = NAN;
  double WakeupsPerSecond = NAN;
};

struct Program {
  std::string Name;
  std::vector<std::string> Command;
  std::vector<std::string> Components;  // registered for the fresh user first
};

// Where each program's first frame with text is saved (--frames DIR).
std::string gFramesDir;

Sample Measure(ScreenWatcher& watcher, const Program& program, const std::string& registrar, int idleSeconds) {
  Sample sample;
  if (!gFramesDir.empty()) {
    watcher.SetDumpFile(gFramesDir + "/" + (program.Components.empty() ? "minimal" : "kelvora") + ".ppm");
  }
  FreshUser user;
  const fs::path log = user.Home / "output.log";
  const auto toLog = [&] { return process::Output::ToFile(log, true).AndErrors(); };
  for (const std::string& component : program.Components) {
    process::ChildProcess registration({registrar, component}, process::EnvironmentWith(user.Env), toLog());
    if (!registration.Started() || registration.Wait() != 0) {
      std::fprintf(stderr, "bench_startup: registering %s failed:\n%s", component.c_str(), ReadFile(log).c_str());
      std::exit(1);
    }
  }
  watcher.Reset();
  const Clock::time_point t0 = Clock::now();
  process::ChildProcess clock(program.Command, process::EnvironmentWith(user.Env), toLog());
  const pid_t pid = clock.Pid();
  if (!clock.Started()) {
    std::fprintf(stderr, "bench_startup: cannot start %s\n", program.Command[0].c_str());
    std::exit(1);
  }
  if (const auto ms = watcher.FirstTextFrame(pid, t0, 10000)) sample.FirstFrameMs = *ms;
  else std::fprintf(stderr, "bench_startup: %s showed no text within 10 s\n", program.Name.c_str());

  std::this_thread::sleep_until(t0 + std::chrono::seconds(10));
  const std::string proc = "/proc/" + std::to_string(pid);
  sample.RssMb = ProcValue(proc + "/status", "VmRSS:") / 1024.0;
  sample.PssMb = ProcValue(proc + "/smaps_rollup", "Pss:") / 1024.0;
  if (idleSeconds > 0) {
    const double cpu0 = CpuSeconds(pid);
    const double switches0 = ContextSwitches(pid);
    const Clock::time_point i0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double seconds = MsSince(i0) / 1000.0;
    sample.CpuPercent = 100.0 * (CpuSeconds(pid) - cpu0) / seconds;
    sample.WakeupsPerSecond = (ContextSwitches(pid) - switches0) / seconds;
  }
  ::kill(pid, SIGTERM);
  clock.Wait();
  const std::string output = ReadFile(log);
  if (std::isnan(sample.FirstFrameMs) && !output.empty()) std::fprintf(stderr, "%s", output.c_str());
  return sample;
}

// ---- summary

struct Stats {
  double Median = NAN, Min = NAN, Max = NAN;
};

Stats Summarise(std::vector<double> v) {
  v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return std::isnan(x); }), v.end());
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  return {median, v.front(), v.back()};
}

void PrintRow(const char* what, const std::vector<Sample>& a, const std::vector<Sample>& b, double Sample::*field,
              int decimals) {
  std::vector<double> va, vb;
  for (const Sample& s : a) va.push_back(s.*field);
  for (const Sample& s : b) vb.push_back(s.*field);
  const Stats sa = Summarise(va), sb = Summarise(vb);
  char ca[64], cb[64];
  std::snprintf(ca, sizeof ca, "%.*f [%.*f-%.*f]", decimals, sa.Median, decimals, sa.Min, decimals, sa.Max);
  std::snprintf(cb, sizeof cb, "%.*f [%.*f-%.*f]", decimals, sb.Median, decimals, sb.Min, decimals, sb.Max);
  std::printf("%-36s %-24s %-24s %6.2f\n", what, ca, cb, sb.Median > 0 ? sa.Median / sb.Median : NAN);
}

std::string LoadAverage() {
  std::istringstream in(ReadFile("/proc/loadavg"));
  std::string one;
  in >> one;
  return one;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 10;
  int idleSeconds = 10;
  const fs::path here = fs::absolute(argv[0]).parent_path();
  std::string program = (here / "../clock/Kelvora").lexically_normal().string();
  std::string peer = (here / "bench_minimal_clock").string();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--idle") idleSeconds = std::max(0, std::atoi(argv[i + 1]));
    else if (option == "--program") program = argv[i + 1];
    else if (option == "--peer") peer = argv[i + 1];
    else if (option == "--frames") gFramesDir = argv[i + 1];
  }
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "bench_startup: needs an X display (DISPLAY)\n");
    return 2;
  }
  const fs::path programDir = fs::absolute(program).parent_path();
  const std::string registrar = (programDir / "kvregsvr").string();
  const Program clock{"Kelvora",
                      {program},
                      {(programDir / "libQuillet.so").string(), (programDir / "libkvbuzzer.so").string()}};
  const Program minimal{"minimal Qt clock", {peer}, {}};
  // Both on the same windowing system, whatever the session prefers.
  setenv("QT_QPA_PLATFORM", "xcb", 1);

  ScreenWatcher watcher;
  std::printf("load average at the start: %s\n", LoadAverage().c_str());
  Measure(watcher, clock, registrar, 0);  // warm-up: files into the page cache
  Measure(watcher, minimal, registrar, 0);

  std::vector<Sample> ours, theirs;
  for (int run = 0; run < runs; ++run) {
    // Alternate who goes first, so that neither always follows the other.
    if (run % 2 == 0) {
      ours.push_back(Measure(watcher, clock, registrar, idleSeconds));
      theirs.push_back(Measure(watcher, minimal, registrar, idleSeconds));
    } else {
      theirs.push_back(Measure(watcher, minimal, registrar, idleSeconds));
      ours.push_back(Measure(watcher, clock, registrar, idleSeconds));
    }
    const Sample& a = ours.back();
    const Sample& b = theirs.back();
    std::printf("round %2d: Kelvora %6.1f ms %5.1f MB (Pss %4.1f) | minimal %6.1f ms %5.1f MB (Pss %4.1f)\n", run + 1,
                a.FirstFrameMs, a.RssMb, a.PssMb, b.FirstFrameMs, b.RssMb, b.PssMb);
    std::fflush(stdout);
  }
  std::printf("\n%d rounds after a warm-up, median [min-max]; load average at the end: %s\n", runs,
              LoadAverage().c_str());
  std::printf("%-36s %-24s %-24s %6s\n", "", "Kelvora", "minimal Qt clock", "ratio");
  PrintRow("exec to first frame with text (ms)", ours, theirs, &Sample::FirstFrameMs, 1);
  PrintRow("resident memory at 10 s (MB)", ours, theirs, &Sample::RssMb, 1);
  PrintRow("proportional memory at 10 s (MB)", ours, theirs, &Sample::PssMb, 1);
  if (idleSeconds > 0) {
    std::printf("idle over %d s after that:\n", idleSeconds);
    PrintRow("CPU while idle (% of a core)", ours, theirs, &Sample::CpuPercent, 3);
    PrintRow("wake-ups per second", ours, theirs, &Sample::WakeupsPerSecond, 1);
  }
  return 0;
}
