#include "clock/sound/SpeakerControl.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "platform/com/ComRuntime.h"
#include "platform/Sound.h"
#include "platform/fake/FakeTimerFactory.h"

namespace {

constexpr int32_t kRate = platform::kSoundRate;
constexpr int32_t kPerMs = kRate / 1000;

std::string WriteTone(int ms) {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  const std::filesystem::path folder = std::filesystem::path(tmp ? tmp : "/tmp") / "buzzer";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "tone.wav").string();
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> samples;
  for (int i = 0; i < 22050 * ms / 1000; ++i) samples.push_back(static_cast<float>(0.8 * std::sin(2 * std::numbers::pi * 440.0 * i / 22050)));
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);
  return path;
}

// Level of one frequency over a stretch (a single DFT bin).
double Magnitude(const std::vector<float>& s, size_t first, size_t count, double frequency) {
  double re = 0, im = 0;
  for (size_t n = 0; n < count; ++n) {
    const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(n) / kRate;
    re += s[first + n] * std::cos(phase);
    im -= s[first + n] * std::sin(phase);
  }
  return 2 * std::hypot(re, im) / static_cast<double>(count);
}

// The control is created by class through the runtime from the built and
// registered buzzer module; its watch timer comes from the host's factory.
struct SpeakerControlTest : testing::Test {
  void SetUp() override {
    ASSERT_EQ(platform::com::CallRegistrationEntry(KV_BUZZER_MODULE, true), platform::com::S_OK);
    control = CreateSpeakerControl();
    ASSERT_NE(control, nullptr) << "the buzzer class could not be created";
    control->Done = [this] { ++done; };
  }
  // Moves the sound and the watch on by ms.
  void Run(platform::CaptureSink& sink, int ms) {
    ASSERT_FALSE(timers.Timers.empty());
    for (int i = 0; i < ms; i += 10) {
      sink.Pull(10 * kPerMs);
      timers.Timers.back()->Fire();
    }
  }
  platform::FakeTimerFactory timers;
  std::unique_ptr<ISpeakerControl> control;
  int done = 0;
};

TEST_F(SpeakerControlTest, PlaysTheFileAsPulsesAndReportsTheEndOnce) {
  platform::ScopedCapture capture;
  std::string file = WriteTone(300);
  control->SetWaveFile(file);
  control->Play(0, -1, 0, true);
  Run(capture.Sink(), 200);
  EXPECT_EQ(done, 0);
  Run(capture.Sink(), 200);
  EXPECT_EQ(done, 1);
  Run(capture.Sink(), 100);
  EXPECT_EQ(done, 1);
  EXPECT_FALSE(timers.Timers.back()->Enabled());

  // The tone comes through the one-bit signal; after the end there is no sound.
  const std::vector<float> s = capture.Sink().Samples();
  const double tone = Magnitude(s, 50 * kPerMs, 200 * kPerMs, 440.0);
  EXPECT_GT(tone, 0.1);
  EXPECT_LT(Magnitude(s, 50 * kPerMs, 200 * kPerMs, 1000.0), tone * 0.05);
  // The pulse carrier (1 193 182 / 64 Hz) stays far below the tone.
  EXPECT_LT(Magnitude(s, 50 * kPerMs, 200 * kPerMs, 1193182.0 / 64), tone * 0.01);
  EXPECT_LT(Magnitude(s, 420 * kPerMs, 50 * kPerMs, 440.0), 1e-6);

  // Played again after the end: a second Done.
  control->Play(0, -1, 0, true);
  Run(capture.Sink(), 400);
  EXPECT_EQ(done, 2);
}

TEST_F(SpeakerControlTest, MissingFileEndsAtOnceAndReleaseStops) {
  platform::ScopedCapture capture;
  std::string missing = "/nonexistent/tone.wav";
  control->SetWaveFile(missing);
  control->Play(0, -1, 0, true);
  Run(capture.Sink(), 10);
  EXPECT_EQ(done, 1);

  std::string file = WriteTone(300);
  control->SetWaveFile(file);
  control->Play(0, -1, 0, true);
  Run(capture.Sink(), 50);
  control->Release();
  capture.Sink().Clear();
  capture.Sink().Pull(100 * kPerMs);
  EXPECT_LT(Magnitude(capture.Sink().Samples(), 20 * kPerMs, 80 * kPerMs, 440.0), 1e-6);
  EXPECT_EQ(done, 1);
}

TEST_F(SpeakerControlTest, ReleasedFromItsOwnDoneHandler) {
  platform::ScopedCapture capture;
  std::string missing = "/nonexistent/tone.wav";
  control->SetWaveFile(missing);
  control->Done = [this] {
    ++done;
    control->Release();  // the clock closing while the signal ends
  };
  control->Play(0, -1, 0, true);
  platform::FakeTimer* watch = timers.Timers.back();
  watch->Fire();  // the object and its timer go inside this tick
  EXPECT_EQ(done, 1);
  control->Play(0, -1, 0, true);  // released: nothing happens
  EXPECT_EQ(timers.Timers.size(), 1u);
}

// A damaged WAVE file: its broken samples must not reach the emulated
// speaker, whose filters would carry them into every later sound.
TEST_F(SpeakerControlTest, NotANumberSamplesPlayAsSilenceAndTheSpeakerStaysUsable) {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  const std::filesystem::path folder = std::filesystem::path(tmp ? tmp : "/tmp") / "buzzer-damaged";
  std::filesystem::create_directories(folder);
  std::string path = (folder / "nan.wav").string();
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  std::vector<float> samples(2205, 0.25f);
  for (size_t i = 0; i < samples.size(); i += 7) samples[i] = std::numeric_limits<float>::quiet_NaN();
  samples[100] = std::numeric_limits<float>::infinity();
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);

  platform::ScopedCapture capture;
  for (int play = 0; play < 2; ++play) {
    control->SetWaveFile(path);
    control->Play(0, -1, 0, true);
    Run(capture.Sink(), 200);
  }
  const std::vector<float> out = capture.Sink().Samples();
  ASSERT_FALSE(out.empty());
  for (const float s : out) ASSERT_TRUE(std::isfinite(s));
}

}  // namespace
