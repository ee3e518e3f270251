// What the idle clock costs between its ticks: wake-ups of the process (all
// threads' context switches) and CPU time per second, in three stretches of
// one run, one after the other:
//   1. a minimal Qt clock (a frameless widget with two labels, a 500 ms timer);
//   2. the clock window ticking, before any time signal;
//   3. the clock window ticking after a time signal has sounded (a WAVE file
//      played on the sound engine), with nothing playing any more;
//   4. the same after a melody on the emulated PC speaker.
//   bench_clock_idle [SECONDS per stretch, default 20]
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/ThreadSwitches.h"
#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "clock/sound/basSound.h"
#include "platform/Application.h"
#include "platform/fake/MemorySettingsStore.h"

namespace {

// Context switches of each thread of the process, by thread id. A thread
// that ends during a stretch takes its count with it: the stretch counts the
// threads present at its end, from zero for those started in it.
std::map<std::string, long long> Switches() {
  std::map<std::string, long long> threads;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    threads[task.path().filename()] = ThreadContextSwitches(task.path());
  }
  return threads;
}

long long SwitchesSince(const std::map<std::string, long long>& before) {
  long long total = 0;
  for (const auto& [id, count] : Switches()) {
    const auto old = before.find(id);
    total += count - (old == before.end() ? 0 : old->second);
  }
  return total;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void RunFor(int seconds) {
  QTimer::singleShot(seconds * 1000, [] { QCoreApplication::exit(0); });
  QApplication::exec();
}

// Runs the loop and prints wake-ups and CPU per second.
void Measure(const char* what, int seconds) {
  RunFor(1);
  const auto switches = Switches();
  const double cpu = CpuSeconds();
  RunFor(seconds);
  std::printf("%-50s %8.1f wake-ups/s  %7.4f %% of a core\n", what,
              static_cast<double>(SwitchesSince(switches)) / seconds, (CpuSeconds() - cpu) / seconds * 100.0);
}

std::string WriteTone() {
  const std::string path = (std::filesystem::temp_directory_path() / "kelvora-bench-idle.wav").string();
  SF_INFO info{};
  info.samplerate = 48000;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> samples(4800);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<float>(0.3 * std::sin(i * 0.13));
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("LANG", "ja_JP.UTF-8", 0);
  platform::Application app(argc, argv, "Kelvora");
  const int seconds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
  std::printf("%d s each, %s\n", seconds, qPrintable(QGuiApplication::platformName()));

  {
    QWidget peer(nullptr, Qt::FramelessWindowHint | Qt::Tool);
    auto* layout = new QVBoxLayout(&peer);
    auto* top = new QLabel(&peer);
    auto* bottom = new QLabel(&peer);
    layout->addWidget(top);
    layout->addWidget(bottom);
    peer.resize(200, 100);
    peer.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const QDateTime now = QDateTime::currentDateTime();
      top->setText(now.toString(QStringLiteral("hh:mm:ss")));
      bottom->setText(now.toString(QStringLiteral("dddd MM/dd")));
    });
    tick.start(500);
    Measure("minimal Qt clock", seconds);
  }

  platform::MemorySettingsStore store;
  SettingsStore::LoadSettings();
  Program program(app);
  frmMain clock(program);
  clock.Form_Load();
  clock.Form().Show();
  clock.RelayoutClock();
  Measure("clock window, no signal yet", seconds);

  SettingsStore::WavFile = WriteTone();
  clock.TimeSignal(1);
  RunFor(1);
  std::printf("(the signal has played: sound still busy = %d)\n", basSound::IsSoundBusy());
  Measure("clock window after a WAVE signal, nothing playing", seconds);

  SettingsStore::WavFile = "MML:T240O5CDE";
  clock.TimeSignal(1);
  RunFor(2);
  if (clock.mcPlayMML) {
    Measure("clock window after a melody, nothing playing", seconds);
  } else {
    std::printf("(no melody: the port-I/O module is not on the search path, KELVORA_MODULE_PATH)\n");
  }
  return 0;
}
