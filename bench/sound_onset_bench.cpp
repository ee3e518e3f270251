// When the time signal is heard, measured on a sound server of its own
// (PulseAudio, one null sink, private runtime folder) whose output is
// recorded here with the server's own timing:
//   1. the first audible sample of the hourly signal against the full
//      second, over several hours (the clock window's real tick and the
//      real device; the wall clock is shifted to just before each hour);
//   2. a test play (the clock's TimeSignal(1), as the settings dialog's
//      test button calls it): from the call to the first sample, and the
//      first note's length, with the stream closed (after quiet) and open;
//   3. the idle cost (wake-ups, CPU) before the first sound and after the
//      last one, once the stream has closed.
//   bench_sound_onset [HOURS, default 10] [TESTS, default 10]
// Printed as p50/p99/max; nothing is asserted.
#include <QApplication>
#include <QTimer>

#include <unistd.h>

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ThreadSwitches.h"
#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Sound.h"
#include "platform/fake/MemorySettingsStore.h"
#include "tools/AudioAnalysis.h"
#include "tools/PrivateSoundServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRate = 48000;

int64_t RealMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}
double RealSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// The recorder's own thread, left out of the idle figures.
std::atomic<long> gRecorderThread{0};

// The system clock moved by a whole number of milliseconds.
class ShiftedClock final : public platform::IClock {
 public:
  ShiftedClock() { mOld = platform::InstallClock(this); }
  ~ShiftedClock() override { platform::InstallClock(mOld); }
  platform::DateTime Now() override { return platform::LocalDateTime(RealMs() + mShift.load()); }
  uint32_t Milliseconds() override { return mOld->Milliseconds(); }
  void SetShift(int64_t ms) { mShift = ms; }
  int64_t Shift() const { return mShift.load(); }

 private:
  platform::IClock* mOld = nullptr;
  std::atomic<int64_t> mShift{0};
};

// Records a sink's monitor; every frame gets the real time at which the
// server says it was captured (it played on the sink).
class MonitorRecorder {
 public:
  bool Start(const std::string& source) {
    mLoop = pa_threaded_mainloop_new();
    mContext = pa_context_new(pa_threaded_mainloop_get_api(mLoop), "bench_sound_onset");
    pa_context_set_state_callback(mContext, [](pa_context*, void* l) {
      pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(l), 0);
    }, mLoop);
    if (pa_context_connect(mContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
    pa_threaded_mainloop_start(mLoop);
    pa_threaded_mainloop_lock(mLoop);
    while (PA_CONTEXT_IS_GOOD(pa_context_get_state(mContext)) && pa_context_get_state(mContext) != PA_CONTEXT_READY) {
      pa_threaded_mainloop_wait(mLoop);
    }
    bool ok = pa_context_get_state(mContext) == PA_CONTEXT_READY;
    if (ok) {
      const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, kRate, 1};
      mStream = pa_stream_new(mContext, "monitor", &format, nullptr);
      pa_buffer_attr attr{};
      attr.maxlength = static_cast<uint32_t>(-1);
      attr.fragsize = kRate / 200 * sizeof(float);  // 5 ms
      pa_stream_set_read_callback(mStream, &MonitorRecorder::OnRead, this);
      const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                        PA_STREAM_AUTO_TIMING_UPDATE);
      ok = pa_stream_connect_record(mStream, source.c_str(), &attr, flags) == 0;
    }
    pa_threaded_mainloop_unlock(mLoop);
    return ok;
  }
  void Stop() {
    if (!mLoop) return;
    pa_threaded_mainloop_lock(mLoop);
    if (mStream) pa_stream_disconnect(mStream);
    pa_context_disconnect(mContext);
    pa_threaded_mainloop_unlock(mLoop);
    pa_threaded_mainloop_stop(mLoop);
    if (mStream) pa_stream_unref(mStream);
    pa_context_unref(mContext);
    pa_threaded_mainloop_free(mLoop);
    mLoop = nullptr;
  }

  // The real time (seconds) at which a recorded frame played; the frame's
  // index counts from the recording's start.
  double TimeOf(int64_t frame) const {
    std::lock_guard<std::mutex> guard(mLock);
    // The first reading taken after the frame was captured.
    for (const Reading& r : mReadings) {
      if (r.CaptureFrame > frame) return r.Real - static_cast<double>(r.CaptureFrame - frame) / kRate;
    }
    return mReadings.empty() ? 0 : mReadings.back().Real;
  }
  // The same by arrival: no earlier than it was captured.
  double ArrivalOf(int64_t frame) const {
    std::lock_guard<std::mutex> guard(mLock);
    for (const Reading& r : mReadings) {
      if (r.Read > frame) return r.Real - static_cast<double>(r.Read - 1 - frame) / kRate;
    }
    return 0;
  }
  std::vector<float> Samples(int64_t first, int64_t count) const {
    std::lock_guard<std::mutex> guard(mLock);
    first = std::clamp<int64_t>(first, 0, static_cast<int64_t>(mSamples.size()));
    count = std::clamp<int64_t>(count, 0, static_cast<int64_t>(mSamples.size()) - first);
    return {mSamples.begin() + first, mSamples.begin() + first + count};
  }
  // The first frame at or after `from` that is not silent.
  int64_t FirstSound(int64_t from) const {
    std::lock_guard<std::mutex> guard(mLock);
    for (auto i = static_cast<size_t>(std::max<int64_t>(from, 0)); i < mSamples.size(); ++i) {
      if (std::fabs(mSamples[i]) > 1e-4f) return static_cast<int64_t>(i);
    }
    return -1;
  }
  // The frame that played at a real moment.
  int64_t FrameAt(double real) const {
    std::lock_guard<std::mutex> guard(mLock);
    for (const Reading& r : mReadings) {
      if (r.Real >= real) return r.CaptureFrame - static_cast<int64_t>((r.Real - real) * kRate);
    }
    return static_cast<int64_t>(mSamples.size());
  }

 private:
  struct Reading {
    int64_t Read;          // frames read when taken
    int64_t CaptureFrame;  // the frame being captured then
    double Real;
  };
  static void OnRead(pa_stream* s, size_t, void* data) {
    gRecorderThread = static_cast<long>(::gettid());
    auto* self = static_cast<MonitorRecorder*>(data);
    const void* bytes = nullptr;
    size_t size = 0;
    while (pa_stream_readable_size(s) > 0 && pa_stream_peek(s, &bytes, &size) == 0 && size > 0) {
      std::lock_guard<std::mutex> guard(self->mLock);
      const auto frames = size / sizeof(float);
      if (bytes) {
        const auto* f = static_cast<const float*>(bytes);
        self->mSamples.insert(self->mSamples.end(), f, f + frames);
      } else {
        self->mSamples.insert(self->mSamples.end(), frames, 0.0f);
      }
      pa_stream_drop(s);
    }
    pa_usec_t t = 0;
    if (pa_stream_get_time(s, &t) == 0) {
      std::lock_guard<std::mutex> guard(self->mLock);
      self->mReadings.push_back(Reading{static_cast<int64_t>(self->mSamples.size()),
                                        static_cast<int64_t>(t) * kRate / 1000000, RealSeconds()});
    }
  }

  pa_threaded_mainloop* mLoop = nullptr;
  pa_context* mContext = nullptr;
  pa_stream* mStream = nullptr;
  mutable std::mutex mLock;
  std::vector<float> mSamples;
  std::vector<Reading> mReadings;
};

void RunFor(double seconds) {
  QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QCoreApplication::exit(0); });
  QApplication::exec();
}

void Print(const char* what, std::vector<double> v, const char* unit) {
  if (v.empty()) {
    std::printf("%-58s (none)\n", what);
    return;
  }
  std::sort(v.begin(), v.end());
  const auto at = [&](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))]; };
  std::printf("%-58s p50 %8.2f  p99 %8.2f  min %8.2f  max %8.2f %s (n=%zu)\n", what, at(0.5), at(0.99), v.front(),
              v.back(), unit, v.size());
}

// Context switches of each thread but the recorder's, by thread id, with
// the thread's name.
std::map<std::string, std::pair<std::string, long long>> SwitchesByThread() {
  std::map<std::string, std::pair<std::string, long long>> threads;
  for (const auto& task : fs::directory_iterator("/proc/self/task")) {
    const std::string id = task.path().filename();
    if (id == std::to_string(gRecorderThread.load())) continue;
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    threads[id] = {name, ThreadContextSwitches(task.path())};
  }
  return threads;
}

// CPU of every thread but the recorder's.
double CpuSeconds() {
  double total = 0;
  for (const auto& task : fs::directory_iterator("/proc/self/task")) {
    if (task.path().filename() == std::to_string(gRecorderThread.load())) continue;
    std::ifstream stat(task.path() / "stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
      if (i == 14 || i == 15) ticks += std::stod(field);  // utime, stime
    }
    total += ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  return total;
}

void MeasureIdle(const char* what, int seconds) {
  const auto before = SwitchesByThread();
  const double cpu = CpuSeconds();
  RunFor(seconds);
  const auto after = SwitchesByThread();
  long long total = 0;
  std::string parts;
  for (const auto& [id, thread] : after) {
    const auto old = before.find(id);
    const long long delta = thread.second - (old == before.end() ? 0 : old->second.second);
    total += delta;
    if (delta > 0) parts += " " + thread.first + ":" + std::to_string(delta);
  }
  std::printf("%-58s %8.1f wake-ups/s  %7.4f %% of a core\n", what, static_cast<double>(total) / seconds,
              (CpuSeconds() - cpu) / seconds * 100.0);
  std::printf("  (switches by thread in %d s:%s)\n", seconds, parts.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int hours = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const int tests = argc > 2 ? std::max(0, std::atoi(argv[2])) : 10;
  const fs::path root = fs::temp_directory_path() / ("kelvora-bench-sound-" + std::to_string(::getpid()));
  audio::PrivateSoundServer server;
  if (!server.Start(root / "server", 1)) {
    std::fprintf(stderr, "PulseAudio could not start (pulseaudio, pactl are needed)\n");
    return 1;
  }
  const fs::path home = audio::MakeHome(root / "home");
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
  setenv("PULSE_SERVER", ("unix:" + server.Socket().string()).c_str(), 1);
  setenv("PULSE_SINK", audio::PrivateSoundServer::Sink(0).c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("LANG", "ja_JP.UTF-8", 0);
  setenv("TZ", "UTC", 1);  // full hours of the shifted clock are full hours of UTC
  tzset();

  platform::Application app(argc, argv, "Kelvora");
  MonitorRecorder recorder;
  if (!recorder.Start(audio::PrivateSoundServer::Sink(0) + ".monitor")) {
    std::fprintf(stderr, "the monitor cannot be recorded\n");
    return 1;
  }
  ShiftedClock clock;
  platform::MemorySettingsStore store;
  SettingsStore::LoadSettings();
  SettingsStore::NoUseTimeSignal = false;
  SettingsStore::TimeSignalRepeat = false;
  SettingsStore::WavFile = "MML:T120O5L8CDEFGAB>C";  // eight eighths, 2 s
  Program program(app);
  frmMain window(program);
  window.Form_Load();
  window.Form().Show();
  window.RelayoutClock();
  basMain::gfncOpenSoundOutput = [] {
    if (!platform::InstallSoundOutput()) std::fprintf(stderr, "no sound output\n");
  };
  std::printf("server: PulseAudio (private, null sink, 48 kHz mono); %d hours, %d tests\n", hours, tests);

  MeasureIdle("idle before the first sound", 10);

  // 1. Each hour: the wall clock jumps to hh:59:48, the tick opens the
  // device at hh:59:50 and starts the signal for hh:00:00.
  std::vector<double> onset, onsetArrival;
  for (int h = 0; h < hours; ++h) {
    const int64_t real = RealMs();
    const int64_t hourMs = 3600 * 1000;
    const int64_t target = (real / hourMs + 1 + h) * hourMs + 3 * hourMs;  // a later full hour
    clock.SetShift(target - 12000 - real);
    RunFor(14);
    const double boundary = static_cast<double>(target - clock.Shift()) / 1000.0;  // real seconds
    const int64_t first = recorder.FirstSound(recorder.FrameAt(boundary - 0.5));
    if (first < 0) {
      std::printf("hour %d: no sound\n", h);
      continue;
    }
    onset.push_back((recorder.TimeOf(first) - boundary) * 1000.0);
    onsetArrival.push_back((recorder.ArrivalOf(first) - boundary) * 1000.0);
    std::printf("  hour %d: %+.2f ms (arrived %+.2f ms)\n", h, onset.back(), onsetArrival.back());
  }
  Print("hourly signal: first sample - full hour (server's timing)", onset, "ms");
  Print("hourly signal: first sample arrived - full hour", onsetArrival, "ms");

  // 2. Test plays: every other one after the stream has closed.
  std::vector<double> closedLatency, openLatency, firstNoteClosed, firstNoteOpen, notes;
  int whole = 0;
  for (int t = 0; t < tests; ++t) {
    const bool closed = t % 2 == 0;
    RunFor(closed ? 7.0 : 0.3);
    const double click = RealSeconds();
    window.TimeSignal(1);
    // The lead the melody's stamps keep while it sounds.
    int lead = 0;
    QTimer::singleShot(100, [&lead] { lead = platform::SoundEngine().StampLeadMs(); });
    RunFor(2.6);
    const int64_t first = recorder.FirstSound(recorder.FrameAt(click - 0.2));
    if (first < 0) continue;
    (closed ? closedLatency : openLatency).push_back((recorder.TimeOf(first) - click) * 1000.0);
    const auto tones = audio::FindTones(recorder.Samples(first - kRate / 100, kRate * 5 / 2), kRate);
    if (!tones.empty()) (closed ? firstNoteClosed : firstNoteOpen).push_back(tones.front().Length() * 1000.0);
    // A gap from a stream that ran dry splits a note or shortens it.
    if (tones.size() == 8) ++whole;
    for (const auto& tone : tones) notes.push_back(tone.Length() * 1000.0);
    std::printf("  test %d (%s, lead %d ms): %.2f ms, first note %.2f ms, %zu tones\n", t, closed ? "closed" : "open", lead,
                (recorder.TimeOf(first) - click) * 1000.0, tones.empty() ? 0.0 : tones.front().Length() * 1000.0,
                tones.size());
  }
  Print("test: call to first sample, stream closed", closedLatency, "ms");
  Print("test: call to first sample, stream open", openLatency, "ms");
  Print("test: first note (an eighth, 250 ms), stream closed", firstNoteClosed, "ms");
  Print("test: first note (an eighth, 250 ms), stream open", firstNoteOpen, "ms");
  Print("test: every note (eighths, 250 ms)", notes, "ms");
  std::printf("test: plays with all 8 notes whole: %d of %d\n", whole, tests);

  RunFor(7);
  MeasureIdle("idle after the last sound, stream closed", 10);
  basMain::gfncOpenSoundOutput = nullptr;
  recorder.Stop();
  platform::ShutdownSoundOutput();
  server.Stop();
  fs::remove_all(root);
  return 0;
}
