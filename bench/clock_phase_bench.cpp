// How late the clock turns over, against the system clock: the real clock
// window runs in the real message loop beside a peer, the same window ticked
// by a plain 500 ms timer started at an arbitrary moment (how a window timer
// ticks when nothing keeps it in step).
//   1. Display: for each new second, the lag from the second's start to the
//      tick that put it into the top row.
//   2. Signal: the time is read through a clock on which every even second
//      of the system clock is a full hour (hh:00:00) and every odd one a half
//      hour; for each full hour, the lag from the second's start to the tick
//      that starts the time signal.
// Prints p50/p99/max in ms for both and the ratios.
//   bench_clock_phase [SECONDS per part, default 60]
#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/fake/MemorySettingsStore.h"

namespace {

int64_t WallMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Milliseconds since the start of the current second of the system clock.
double LagMs() { return static_cast<double>(WallMicroseconds() % 1000000) / 1000.0; }

// The system clock, with every even second a full hour and every odd one
// half past.
class HourEverySecondClock final : public platform::IClock {
 public:
  platform::DateTime Now() override {
    const int64_t ms = WallMicroseconds() / 1000;
    platform::DateTime now = platform::LocalDateTime(ms);
    const int64_t second = ms / 1000;
    now.Hour = static_cast<int32_t>(second / 2 % 24);
    now.Minute = static_cast<int32_t>(second % 2 * 30);
    now.Second = 0;
    return now;
  }
  uint32_t Milliseconds() override { return mSystem->Milliseconds(); }
  platform::IClock* mSystem = nullptr;
};

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const auto k = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  return values[std::min(k, values.size() - 1)];
}

void Print(const char* what, const std::vector<double>& ours, const std::vector<double>& peer) {
  std::printf("%s (%zu / %zu samples)\n", what, ours.size(), peer.size());
  std::printf("  phase-locked tick:  p50 %6.2f  p99 %6.2f  max %6.2f ms\n", Percentile(ours, 0.5),
              Percentile(ours, 0.99), Percentile(ours, 1.0));
  std::printf("  plain 500 ms timer: p50 %6.2f  p99 %6.2f  max %6.2f ms\n", Percentile(peer, 0.5),
              Percentile(peer, 0.99), Percentile(peer, 1.0));
  std::printf("  ratio p99: %.3f\n", Percentile(ours, 0.99) / Percentile(peer, 0.99));
}

// Runs the message loop for the given time.
void RunFor(int seconds) {
  QTimer::singleShot(seconds * 1000, [] { QCoreApplication::exit(0); });
  QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("LANG", "ja_JP.UTF-8", 0);
  platform::Application app(argc, argv, "Kelvora");
  const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 60;

  platform::MemorySettingsStore store;
  SettingsStore::LoadSettings();
  SettingsStore::MoveSide = 4;
  SettingsStore::WavFile = "no such file.wav";  // a signal that sounds nothing

  Program program(app);
  frmMain ours(program);
  frmMain peer(program);
  for (frmMain* clock : {&ours, &peer}) {
    clock->Form_Load();
    clock->Form().Show();
    clock->RelayoutClock();
  }
  // The peer's own tick timer is replaced by a plain one.
  peer.Timer1->SetEnabled(false);
  QTimer plain;
  plain.setTimerType(Qt::PreciseTimer);
  std::mt19937 random(static_cast<unsigned>(WallMicroseconds()));
  QTimer::singleShot(std::uniform_int_distribution<int>(0, 499)(random), [&] { plain.start(500); });

  // What each tick changed.
  std::vector<double> display[2], signal[2];
  bool measuringDisplay = false;
  bool measuringSignal = false;
  auto watch = [&](frmMain& clock, int who, const std::function<void()>& tick) {
    const std::string before = clock.Label1(0).Caption();
    const bool started = clock.mblnTimeSignalStarted;
    tick();
    const double lag = LagMs();
    if (measuringDisplay && clock.Label1(0).Caption() != before) display[who].push_back(lag);
    if (measuringSignal && !started && clock.mblnTimeSignalStarted) signal[who].push_back(lag);
  };
  auto ownTick = ours.Timer1->OwnerTimer;
  ours.Timer1->OwnerTimer = [&] { watch(ours, 0, ownTick); };
  QObject::connect(&plain, &QTimer::timeout, [&] { watch(peer, 1, [&] { peer.Timer1_Timer(); }); });

  SettingsStore::NoUseTimeSignal = true;
  RunFor(2);  // both clocks ticking before anything is counted
  measuringDisplay = true;
  RunFor(seconds);
  measuringDisplay = false;

  HourEverySecondClock hours;
  hours.mSystem = platform::InstallClock(&hours);
  SettingsStore::NoUseTimeSignal = false;
  RunFor(2);  // ticks straddling the change of clocks are not counted
  measuringSignal = true;
  RunFor(seconds);
  platform::InstallClock(hours.mSystem);

  std::printf("%d s each, %s\n", seconds, qPrintable(QGuiApplication::platformName()));
  Print("row text turns to the new second: lag after the second's start", display[0], display[1]);
  Print("time signal of a full hour starts: lag after hh:00:00", signal[0], signal[1]);
  return 0;
}
