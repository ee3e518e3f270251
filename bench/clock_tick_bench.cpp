// The cost of the clock window's tick when the second changes: the rows'
// texts are formatted, the changed row is repainted. Measured as CPU time
// per changed second (the tick plus the paint it causes), against a minimal
// Qt clock (a frameless widget with two QLabels) in the same run.
//   bench_clock_tick [TICKS]
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/MemorySettingsStore.h"

namespace {

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

platform::DateTime Second(int i) {
  return platform::DateTime{2026, 12, 7, 9, (5 + i / 60) % 60, i % 60, 3};
}

// Runs the ticks of `ticks` changed seconds and returns CPU ms per second.
template <typename Tick>
double Measure(int ticks, platform::FakeClock& time, Tick tick) {
  for (int i = 0; i < 20; ++i) {  // warm-up
    time.SetNow(Second(i));
    tick();
    QApplication::processEvents();
  }
  const double start = CpuMs();
  for (int i = 20; i < ticks + 20; ++i) {
    time.SetNow(Second(i));
    tick();
    QApplication::processEvents();
  }
  return (CpuMs() - start) / ticks;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("LANG", "ja_JP.UTF-8", 0);
  platform::Application app(argc, argv, "Kelvora");
  const int ticks = argc > 1 ? std::max(100, std::atoi(argv[1])) : 3000;

  platform::MemorySettingsStore store;
  platform::FakeClock time(Second(0));
  SettingsStore::LoadSettings();
  SettingsStore::NoUseTimeSignal = true;

  Program program(app);
  frmMain clock(program);
  clock.Form_Load();
  clock.Form().Move(0, 0, 3000, 1500);
  clock.Form().Show();
  clock.RelayoutClock();
  int paints = 0;
  auto paint = clock.Form().Events.Paint;
  clock.Form().Events.Paint = [&] {
    ++paints;
    if (paint) paint();
  };
  QApplication::processEvents();
  paints = 0;
  const double ours = Measure(ticks, time, [&] { clock.Timer1_Timer(); });
  const int ourPaints = paints;

  // The peer: two labels, the same texts, a plain widget.
  QWidget peer(nullptr, Qt::FramelessWindowHint | Qt::Tool);
  auto* layout = new QVBoxLayout(&peer);
  auto* top = new QLabel(&peer);
  auto* bottom = new QLabel(&peer);
  layout->addWidget(top);
  layout->addWidget(bottom);
  peer.resize(200, 100);
  peer.show();
  QString lastTop, lastBottom;
  const double theirs = Measure(ticks, time, [&] {
    const platform::DateTime now = platform::Now();
    const QDateTime moment(QDate(now.Year, now.Month, now.Day), QTime(now.Hour, now.Minute, now.Second));
    const QString t = moment.toString(QStringLiteral("hh:mm:ss"));
    const QString b = moment.toString(QStringLiteral("dddd MM/dd"));
    if (t != lastTop) top->setText(lastTop = t);
    if (b != lastBottom) bottom->setText(lastBottom = b);
  });

  std::printf("changed seconds: %d (%s)\n", ticks, qPrintable(QGuiApplication::platformName()));
  std::printf("clock window: %.4f ms CPU per second, %d paint events of the form\n", ours, ourPaints);
  std::printf("minimal Qt clock: %.4f ms CPU per second\n", theirs);
  std::printf("ratio: %.2f\n", ours / theirs);
  return 0;
}
