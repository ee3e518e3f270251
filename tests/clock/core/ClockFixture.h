#pragma once
// A clock window on simulated time: settings from an empty store, a fake
// clock on a wall clock (TZ decides the local time), timers run by a
// scheduler, message boxes recorded, and the sound engine captured. The
// capture follows the simulated time while Listening is set.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
#include "platform/Sound.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/fake/TimerScheduler.h"
#include "tools/AudioAnalysis.h"

namespace clocktest {

inline constexpr int32_t kFramesPerMs = platform::kSoundRate / 1000;

// Sets TZ for its lifetime.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) mOld = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (mOld) setenv("TZ", mOld->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> mOld;
};

// Milliseconds since 1970 UTC of a local date and time in the zone of TZ.
inline int64_t LocalEpochMs(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&local)) * 1000 + ms;
}

inline std::filesystem::path TempFolder() {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  std::filesystem::path folder = std::filesystem::path(tmp ? tmp : "/tmp") / "clock";
  std::filesystem::create_directories(folder);
  return folder;
}

// A WAVE file of a 1 kHz tone.
inline std::string WriteTone(const std::string& name, int ms) {
  const std::string path = (TempFolder() / name).string();
  SF_INFO info{};
  info.samplerate = platform::kSoundRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
  std::vector<float> samples;
  for (int i = 0; i < platform::kSoundRate * ms / 1000; ++i) {
    samples.push_back(static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 1000.0 * i / platform::kSoundRate)));
  }
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);
  return path;
}

// The buzzer control: counts its plays and raises Done a fixed time after
// each, on a timer of the scheduler.
class FakeSpeaker final : public ISpeakerControl {
 public:
  explicit FakeSpeaker(int32_t vintPlayMs = 300) : mTimer(platform::Controls().CreateTimer()) {
    mTimer->SetInterval(vintPlayMs);
    mTimer->Timer = [this] {
      mTimer->SetEnabled(false);
      if (Done) Done();
    };
  }
  void SetWaveFile(std::string& rstrFileName) override { File = rstrFileName; }
  void Play(int32_t, int32_t, int32_t, bool) override {
    ++Plays;
    mTimer->SetEnabled(true);
  }
  void Release() override { ++Releases; }

  std::string File;
  int Plays = 0;
  int Releases = 0;

 private:
  std::unique_ptr<platform::ITimer> mTimer;
};

struct ClockFixture : testing::Test {
  ClockFixture() {
    basMain::mblnSetUpOpen = false;
    basMain::mblnSpeakerReady = false;
    basMain::mintCorner = 0;
    basMain::gfncTimeSignalText = nullptr;
    SettingsStore::LoadSettings();  // the defaults, from the empty store
    store.Values[{"Kelvora", "Settings", "FontName"}] = "IPAPGothic";
    scheduler.Advanced = [this](int64_t ms) {
      if (Listening) capture.Sink().Pull(static_cast<int32_t>(ms * kFramesPerMs));
    };
  }
  ~ClockFixture() override {
    program.ReleaseWindows();
    basMain::mblnSetUpOpen = false;
    basMain::mblnSpeakerReady = false;
    basMain::mintCorner = 0;
    basMain::gfncTimeSignalText = nullptr;
  }

  // The clock window, 3000 × 1500 twips, loaded, on the wall clock at the moment.
  frmMain& MakeClock(int64_t vlngEpochMs) {
    time.SetWallClock(vlngEpochMs);
    clock = &program.MakeClock();
    clock->Form().Move(0, 0, 3000, 1500);
    clock->Form_Load();
    return *clock;
  }

  // Tones heard since the last call.
  std::vector<audio::Tone> TakeTones() {
    auto tones = audio::FindTones(capture.Sink().Samples(), platform::kSoundRate);
    capture.Sink().Clear();
    return tones;
  }

  platform::MemorySettingsStore store;
  platform::FakeClock time;
  platform::TimerScheduler scheduler{time};
  platform::RecordingMessageBox box;
  platform::ScopedCapture capture;
  bool Listening = false;
  Program program{platform::Application::Current()};
  frmMain* clock = nullptr;
};

}  // namespace clocktest
