// The hourly signal as a user hears it: the real program on a sound server
// of its own (PulseAudio with a null sink, in a private runtime folder),
// its clock shifted to just before a full hour, the sink's monitor
// recorded and compared with mml2wav's render of the same melody. Counts,
// pitches and lengths are checked, not timing (bench_sound_onset measures
// that). Each run ends by a termination signal, which must end the program
// in order, and the stream must close once the signal is over.
//
// On an overloaded machine the program's sound thread may not be run in
// time and its stream runs dry for a moment: the sink then mixes silence
// into a note (what came late is dropped, not delayed, by design) and the
// note boundaries next to it move by a few ms. Such dropouts are listed in the
// output; a note they touch still counts as one, with its pitch checked,
// but its length is not held to the render's.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/AudioAnalysis.h"
#include "tools/PrivateSoundServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRate = 48000;
// Longer than any dropout seen (10 to 101 ms with three busy loops on two
// cores), shorter than any rest the signals here have (none in the melody,
// 200 ms between the WAVE file's plays).
constexpr double kDropout = 0.150;
const char* const kMelody = "MML:T120O4L8CEG>C4";

std::vector<float> ReadRaw(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

std::vector<float> ReadWave(const fs::path& file) {
  SF_INFO info{};
  SNDFILE* f = sf_open(file.c_str(), SFM_READ, &info);
  if (!f) return {};
  std::vector<float> samples(static_cast<size_t>(info.frames));
  sf_readf_float(f, samples.data(), info.frames);
  sf_close(f);
  return samples;
}

void WriteTone(const fs::path& file, double hz, double seconds) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(file.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr);
  std::vector<float> samples(static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = 0.3f * static_cast<float>(std::sin(2 * M_PI * hz * i / kRate));
  sf_writef_float(f, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(f);
}

// The stretches (start, end in seconds) in which something sounds, by the
// level of 5 ms windows; a pause shorter than a dropout does not split one.
std::vector<std::pair<double, double>> Stretches(const std::vector<float>& samples) {
  constexpr size_t kWindow = kRate / 200;
  std::vector<double> level;
  for (size_t i = 0; i + kWindow <= samples.size(); i += kWindow) {
    level.push_back(audio::Rms(samples, i, kWindow));
  }
  const double loudest = level.empty() ? 0 : *std::max_element(level.begin(), level.end());
  std::vector<std::pair<double, double>> found;
  for (size_t w = 0; w < level.size(); ++w) {
    if (loudest == 0 || level[w] < loudest / 4) continue;
    const double start = static_cast<double>(w * kWindow) / kRate, end = start + 0.005;
    if (!found.empty() && start - found.back().second < kDropout) {
      found.back().second = end;
    } else {
      found.emplace_back(start, end);
    }
  }
  return found;
}

// libfaketime, preloaded into the program itself (its wrapper program
// would stand between the test and the program's exit status).
fs::path FakeTimeLibrary() {
  std::error_code error;
  for (const auto& dir : fs::directory_iterator("/usr/lib", error)) {
    const fs::path candidate = dir.path() / "faketime/libfaketime.so.1";
    if (fs::exists(candidate, error)) return candidate;
  }
  return "/usr/lib/faketime/libfaketime.so.1";
}

audio::PrivateSoundServer* gServer = nullptr;
using process::ChildProcess;
using audio::PrivateSoundServer;

class TimeSignalAudio : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    auto* server = new PrivateSoundServer;
    if (server->Start(fs::path(tmp ? tmp : "/tmp") / "audio-server", 3)) {
      gServer = server;
    } else {
      server->Stop();
      delete server;
    }
  }
  static void TearDownTestSuite() {
    if (gServer) gServer->Stop();
    delete gServer;
    gServer = nullptr;
  }
  void SetUp() override {
    if (!gServer) GTEST_SKIP() << "PulseAudio could not start here (pulseaudio, pactl and parec are needed)";
  }

  struct Run {
    std::vector<float> Recording;
    int ExitCode = -2;
    bool StreamClosed = false;
  };

  // Runs the clock from hh:59:47 local time (Asia/Tokyo, as every test)
  // across the full hour with the given settings, on its own sink; ends it
  // by SIGTERM once the sound has ended and the stream closed.
  static Run RunAcrossHour(int sink, int hour, const std::string& settings, std::chrono::seconds soundFor) {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    const fs::path home = audio::MakeHome(fs::path(tmp ? tmp : "/tmp") / ("audio-run" + std::to_string(sink)));
    std::ofstream(home / "config/Kelvora/Kelvora.ini")
        << "[Settings]\nNoTestDllReg=-1\nMoveSide=2\nNoUseTimeSignal=0\n" << settings;
    const fs::path raw = home / "monitor.raw";
    ChildProcess recorder({"parec", "--device=" + PrivateSoundServer::Sink(sink) + ".monitor", "--raw", "--format=float32le",
                    "--rate=48000", "--channels=1", "--latency-msec=20"},
                   gServer->Environment(home), process::Output::ToFile(raw));
    auto env = gServer->Environment(home);
    env.push_back("PULSE_SINK=" + PrivateSoundServer::Sink(sink));
    env.push_back("QT_QPA_PLATFORM=offscreen");
    // The wall clock shifted, the monotonic clock (timers, the sound
    // server's timing) left alone.
    char start[40];
    std::snprintf(start, sizeof start, "FAKETIME=@2026-01-05 %02d:59:47", (hour + 23) % 24);
    env.push_back(start);
    env.push_back("FAKETIME_DONT_FAKE_MONOTONIC=1");
    env.push_back("LD_PRELOAD=" + FakeTimeLibrary().string());
    ChildProcess clock({KV_KELVORA_PROGRAM}, env);
    Run run;
    // 13 s to the hour, the sound, then the stream's few quiet seconds.
    std::this_thread::sleep_for(13s + soundFor);
    for (int i = 0; i < 150 && !run.StreamClosed; ++i) {
      run.StreamClosed = gServer->StreamsOn(sink) == 0;
      if (!run.StreamClosed) std::this_thread::sleep_for(100ms);
    }
    run.ExitCode = clock.Terminate(20s);
    recorder.Terminate(5s);
    run.Recording = ReadRaw(raw);
    return run;
  }

  static std::vector<audio::Tone> Reference(const std::string& melody) {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    const fs::path wav = fs::path(tmp ? tmp : "/tmp") / "audio-reference.wav";
    ChildProcess render({KV_MML2WAV_PROGRAM, "-o", wav.string(), melody}, audio::PrivateEnvironment(wav.parent_path()));
    EXPECT_EQ(render.Wait(60s), 0);
    return audio::FindTones(ReadWave(wav), kRate);
  }
};

// Three clocks at once, each on its own sink: a melody at 15:00 with
// repetition (three plays back to back), a WAVE file on the sound device at
// 14:00 with repetition (two plays), the same file on the emulated buzzer
// at 13:00 without repetition (one play, its carrier filtered to the tone).
TEST_F(TimeSignalAudio, TheHourSoundsAsOftenAsTheDialSaysWithThePitchesAndLengthsOfTheRenderThenGoesQuietAndEndsInOrder) {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  const fs::path wave = fs::path(tmp ? tmp : "/tmp") / "audio-signal.wav";
  WriteTone(wave, 880.0, 0.3);
  ASSERT_TRUE(fs::exists(FakeTimeLibrary())) << "libfaketime is needed (scripts/setup.sh installs it)";
  const std::vector<audio::Tone> one = Reference(kMelody);
  ASSERT_EQ(one.size(), 4u);

  Run melody, device, buzzer;
  std::thread a([&] { melody = RunAcrossHour(0, 15, std::string("TimeSignalRepeat=-1\nWavFile=") + kMelody + "\n", 5s); });
  std::thread b([&] { device = RunAcrossHour(1, 14, "TimeSignalRepeat=-1\nUsePCBuzzer=0\nWavFile=" + wave.string() + "\n", 5s); });
  std::thread c([&] { buzzer = RunAcrossHour(2, 13, "TimeSignalRepeat=0\nUsePCBuzzer=-1\nWavFile=" + wave.string() + "\n", 5s); });
  a.join();
  b.join();
  c.join();

  for (const Run* run : {&melody, &device, &buzzer}) {
    EXPECT_EQ(run->ExitCode, 0) << "ended by SIGTERM after sound";
    EXPECT_TRUE(run->StreamClosed) << "the stream stays open while nothing sounds";
  }

  const std::vector<audio::Tone> heard = audio::FindTones(melody.Recording, kRate, kDropout);
  const std::vector<audio::Gap> dropouts = audio::FindDropouts(melody.Recording, kRate, kDropout);
  const auto broken = [&](const audio::Tone& tone) {
    return std::any_of(dropouts.begin(), dropouts.end(), [&](const audio::Gap& gap) {
      return gap.Start < tone.End + 0.002 && gap.End > tone.Start - 0.002;
    });
  };
  for (const audio::Gap& gap : dropouts) {
    std::printf("the melody's stream ran dry at %.3f s for %.1f ms\n", gap.Start, gap.Length() * 1000);
  }
  RecordProperty("dropouts", static_cast<int>(dropouts.size()));
  ASSERT_EQ(heard.size(), 3 * one.size()) << "plays of the melody";
  size_t whole = 0;
  for (size_t i = 0; i < heard.size(); ++i) {
    const audio::Tone& want = one[i % one.size()];
    EXPECT_NEAR(heard[i].Frequency, want.Frequency, want.Frequency * 2e-4) << "tone " << i;
    if (broken(heard[i])) continue;
    ++whole;
    // A note lasts its length plus up to one of the player's ticks, late
    // on a loaded machine; a stretched first note would be far longer.
    EXPECT_GT(heard[i].Length(), want.Length() - 0.004) << "tone " << i;
    EXPECT_LT(heard[i].Length(), want.Length() + 0.030) << "tone " << i << " (the first one too)";
    if (i > 0 && !broken(heard[i - 1])) {
      EXPECT_LT(heard[i].Start - heard[i - 1].End, 0.006) << "back to back at tone " << i;
    }
  }
  // A moment's overload breaks a note or two; a stream that runs dry all
  // the time is a fault of the program.
  EXPECT_GE(whole, heard.size() / 2) << "notes without a dropout";

  // Two plays of 0.3 s, whole; one stretch when they follow without a gap.
  // What a dropout took is missing from them.
  double sounded = 0, lost = 0;
  for (const audio::Tone& tone : audio::FindTones(device.Recording, kRate)) {
    EXPECT_NEAR(tone.Frequency, 880.0, 0.5);
    sounded += tone.Length();
  }
  for (const audio::Gap& gap : audio::FindDropouts(device.Recording, kRate, kDropout)) lost += gap.Length();
  EXPECT_NEAR(sounded, 0.6, 0.012 + lost) << "plays of the WAVE file on the device";

  // The buzzer's carrier is in the sound; one play of about 0.3 s.
  const auto onBuzzer = Stretches(buzzer.Recording);
  ASSERT_EQ(onBuzzer.size(), 1u) << "plays on the buzzer";
  EXPECT_NEAR(onBuzzer[0].second - onBuzzer[0].first, 0.3, 0.03);
}

}  // namespace
