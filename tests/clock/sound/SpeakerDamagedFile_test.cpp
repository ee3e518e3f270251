// A damaged WAVE file on the PC buzzer: its broken samples must not reach
// the emulated speaker, whose filters would carry them into every later
// sound.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <vector>

#include "clock/sound/SpeakerControl.h"
#include "platform/Sound.h"
#include "platform/fake/FakeTimer.h"

namespace {

TEST(SpeakerDamagedFile, NotANumberSamplesPlayAsSilenceAndTheSpeakerStaysUsable) {
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
  auto owned = std::make_unique<platform::FakeTimer>();
  platform::FakeTimer* watch = owned.get();
  auto control = CreateSpeakerControl(std::move(owned));
  ASSERT_NE(control, nullptr) << "the buzzer module was not found on KELVORA_MODULE_PATH";
  for (int play = 0; play < 2; ++play) {
    control->SetWaveFile(path);
    control->Play(0, -1, 0, true);
    for (int ms = 0; ms < 200; ms += 10) {
      capture.Sink().Pull(10 * platform::kSoundRate / 1000);
      watch->Fire();
    }
  }
  const std::vector<float> out = capture.Sink().Samples();
  ASSERT_FALSE(out.empty());
  for (const float s : out) ASSERT_TRUE(std::isfinite(s));
}

}  // namespace
