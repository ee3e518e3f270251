// The clock window resized 1 000 times (twice), as a user dragging its border does:
// every size change fits the rows' font sizes again. Prints the resident
// memory before and after and the time per fit, for the default rows and
// for an empty top-row format (a blank, whose width pass starts far off),
// against a minimal Qt fit of the same texts in the same boxes (the
// largest pixel size whose QFontMetrics fit, found by bisection).
//   bench_clock_resize [RESIZES]
#include <QApplication>
#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/MemorySettingsStore.h"

namespace {

using Clock = std::chrono::steady_clock;

// Resident memory, and the part of it that is the process's own (not
// pages of files such as the font file and the libraries).
struct Rss {
  double Total = 0, Anon = 0;
};

Rss RssNow() {
  std::ifstream in("/proc/self/status");
  std::string line;
  Rss rss;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) rss.Total = std::atof(line.c_str() + 6) / 1024.0;
    if (line.rfind("RssAnon:", 0) == 0) rss.Anon = std::atof(line.c_str() + 8) / 1024.0;
  }
  return rss;
}

// The i-th window size, twips: widths from 2 000 to 32 000 and heights from
// 900 to 9 000, every step a new pair.
std::pair<double, double> SizeAt(int i, int count) {
  const double t = static_cast<double>(i) / std::max(1, count - 1);
  const double w = 2000 + 30000 * (i % 2 ? t : 1 - t);
  const double h = 900 + 8100 * ((i * 7) % count) / static_cast<double>(count);
  return {w, h};
}

struct Result {
  Rss Before, After;
  double MsPerFit = 0;
};

// Each resize goes through the window's own resize handler (relayout:
// the fit, then the rows placed), which is timed.
Result ResizeClock(frmMain& clock, int count) {
  QApplication::processEvents();
  Result result;
  result.Before = RssNow();
  double fitting = 0;
  int fits = 0;
  auto handler = clock.Form().Events.Resize;
  clock.Form().Events.Resize = [&] {
    const Clock::time_point t0 = Clock::now();
    handler();
    fitting += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    ++fits;
  };
  for (int i = 0; i < count; ++i) {
    const auto [w, h] = SizeAt(i, count);
    clock.Form().Move(0, 0, w, h);
    QApplication::processEvents();
  }
  clock.Form().Events.Resize = handler;
  result.After = RssNow();
  result.MsPerFit = fits ? fitting / fits : 0;
  if (fits < count) std::printf("(only %d of %d resizes reached the window)\n", fits, count);
  return result;
}

// The largest pixel size at which text fits into w × h pixels.
int MinimalFit(QFont& font, const QString& text, int w, int h) {
  int lo = 1, hi = 4096;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    font.setPixelSize(mid);
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) <= w && metrics.height() <= h) lo = mid;
    else hi = mid;
  }
  return lo;
}

Result ResizeMinimal(const QString& top, const QString& bottom, int count) {
  QApplication::processEvents();
  Result result;
  result.Before = RssNow();
  QFont font(QStringLiteral("IPAPGothic"));
  double fitting = 0;
  for (int i = 0; i < count; ++i) {
    const auto [w, h] = SizeAt(i, count);
    const int wpx = static_cast<int>(w / 15) - 6, hpx = static_cast<int>(h / 15) - 6;
    const Clock::time_point t0 = Clock::now();
    MinimalFit(font, top, wpx, 2 * hpx / 3);
    MinimalFit(font, bottom, wpx, hpx / 3);
    fitting += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    QApplication::processEvents();
  }
  result.After = RssNow();
  result.MsPerFit = fitting / count;
  return result;
}

void Print(const char* what, const Result& r) {
  std::printf("%-34s %6.1f -> %6.1f MB (%+5.2f MB; own pages %+5.2f MB)  %7.3f ms per fit\n", what, r.Before.Total,
              r.After.Total, r.After.Total - r.Before.Total, r.After.Anon - r.Before.Anon, r.MsPerFit);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("LANG", "ja_JP.UTF-8", 0);
  platform::Application app(argc, argv, "Kelvora");
  const int count = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;

  platform::MemorySettingsStore store;
  store.Values[{"Kelvora", "Settings", "FontName"}] = "IPAPGothic";
  platform::FakeClock time(platform::DateTime{2026, 12, 7, 9, 5, 3, 0});
  SettingsStore::LoadSettings();
  SettingsStore::NoUseTimeSignal = true;
  SettingsStore::MoveSide = 4;

  Program program(app);
  frmMain clock(program);
  clock.Form_Load();
  clock.Form().Show();
  clock.RelayoutClock();
  std::printf("%d resizes each (%s); resident memory before and after\n", count,
              qPrintable(QGuiApplication::platformName()));
  // The first round also brings in the pages of the font file and of the
  // drawing code that larger sizes use; the second shows what running costs.
  Print("clock, default rows, first round", ResizeClock(clock, count));
  const Result rows = ResizeClock(clock, count);
  Print("clock, default rows, next round", rows);
  SettingsStore::UnderRowFormat = "";
  const Result blank = ResizeClock(clock, count);
  Print("clock, empty top-row format", blank);
  const Result peer = ResizeMinimal(QStringLiteral("09:05:03 "), QStringLiteral("月曜日 12/07 "), count);
  Print("minimal Qt fit, default rows", peer);
  std::printf("time per fit against the minimal fit: %.2f (default rows), %.2f (empty format)\n",
              rows.MsPerFit / peer.MsPerFit, blank.MsPerFit / peer.MsPerFit);
  return 0;
}
