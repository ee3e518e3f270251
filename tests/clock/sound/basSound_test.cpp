#include "clock/sound/basSound.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "platform/Sound.h"
#include "tools/AudioAnalysis.h"

namespace {

constexpr int32_t kPerMs = platform::kSoundRate / 1000;

std::filesystem::path TempFolder() {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  std::filesystem::path folder = std::filesystem::path(tmp ? tmp : "/tmp") / "wave";
  std::filesystem::create_directories(folder);
  return folder;
}

// A 440 Hz sine of the given length in the given encoding.
std::string WriteTone(const std::string& name, int format, int rate, int ms) {
  const std::string path = (TempFolder() / name).string();
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
  std::vector<float> samples;
  for (int i = 0; i < rate * ms / 1000; ++i) {
    const auto v = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 440.0 * i / rate));
    samples.push_back(v);
    samples.push_back(v);
  }
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / 2));
  sf_close(file);
  return path;
}

TEST(basSound, EncodingsPlayInTheBackgroundUntilTheirEnd) {
  const struct {
    const char* Name;
    int Format;
    int Rate;
  } files[] = {{"u8.wav", SF_FORMAT_PCM_U8, 22050}, {"s16.wav", SF_FORMAT_PCM_16, 44100}, {"s24.wav", SF_FORMAT_PCM_24, 48000}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.Name);
    const std::string path = WriteTone(f.Name, f.Format, f.Rate, 200);
    platform::ScopedCapture capture;
    EXPECT_FALSE(basSound::IsSoundBusy());
    EXPECT_TRUE(basSound::PlayWaveFile(path, basSound::SND_ASYNC));
    EXPECT_TRUE(basSound::IsSoundBusy());
    capture.Sink().Pull(150 * kPerMs);
    EXPECT_TRUE(basSound::IsSoundBusy());
    EXPECT_FALSE(basSound::PlayWaveFile(path, basSound::SND_ASYNC | basSound::SND_NOSTOP));
    capture.Sink().Pull(100 * kPerMs);
    EXPECT_FALSE(basSound::IsSoundBusy());

    const auto tones = audio::FindTones(capture.Sink().Samples(), platform::kSoundRate);
    ASSERT_EQ(tones.size(), 1u);
    EXPECT_NEAR(tones[0].Frequency, 440.0, 0.5);
    EXPECT_NEAR(tones[0].Length() * 1000, 200.0, 3.0);
  }
}

TEST(basSound, MissingOrUnreadableFilesPlayNothing) {
  platform::ScopedCapture capture;
  EXPECT_FALSE(basSound::PlayWaveFile((TempFolder() / "nosuch.wav").string(), basSound::SND_ASYNC));
  EXPECT_FALSE(basSound::PlayWaveFile(TempFolder().string(), basSound::SND_ASYNC));  // a folder
  EXPECT_FALSE(basSound::PlayWaveFile("", basSound::SND_ASYNC));
  const std::string junk = (TempFolder() / "junk.wav").string();
  FILE* file = std::fopen(junk.c_str(), "wb");
  std::fputs("RIFF not really a wave", file);
  std::fclose(file);
  EXPECT_FALSE(basSound::PlayWaveFile(junk, basSound::SND_ASYNC));
  EXPECT_FALSE(basSound::IsSoundBusy());
  capture.Sink().Pull(50 * kPerMs);
  EXPECT_EQ(audio::Rms(capture.Sink().Samples()), 0.0);
}

TEST(basSound, ANewPlayReplacesTheOldOne) {
  const std::string longer = WriteTone("long.wav", SF_FORMAT_PCM_16, 48000, 1000);
  const std::string shorter = WriteTone("short.wav", SF_FORMAT_PCM_16, 48000, 100);
  platform::ScopedCapture capture;
  basSound::PlayWaveFile(longer, basSound::SND_ASYNC);
  capture.Sink().Pull(100 * kPerMs);
  basSound::PlayWaveFile(shorter, basSound::SND_ASYNC);
  capture.Sink().Pull(150 * kPerMs);
  EXPECT_FALSE(basSound::IsSoundBusy());
  // Never both at once: the level stays that of one tone.
  const auto samples = capture.Sink().Samples();
  EXPECT_LE(*std::max_element(samples.begin(), samples.end()), 0.51f);
}

}  // namespace
