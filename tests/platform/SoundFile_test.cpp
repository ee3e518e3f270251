// Decoding sound files: what a damaged or lying file turns into.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "platform/Sound.h"

namespace {

std::string TempPath(const std::string& name) {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  const std::filesystem::path folder = std::filesystem::path(tmp ? tmp : "/tmp") / "soundfile";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

TEST(SoundFile, DamagedFloatSamplesAreSilenceAndLoudOnesAreClipped) {
  const std::string path = TempPath("float.wav");
  SF_INFO info{};
  info.samplerate = platform::kSoundRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  const float samples[] = {0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                           -0.25f, -std::numeric_limits<float>::infinity(), 3e38f, -3e38f};
  sf_write_float(file, samples, 7);
  sf_close(file);

  platform::SoundBuffer buffer;
  ASSERT_TRUE(platform::DecodeSoundFile(path, buffer));
  EXPECT_EQ(buffer.Samples, (std::vector<float>{0.5f, 0.0f, 0.0f, -0.25f, 0.0f, 1.0f, -1.0f}));
}

TEST(SoundFile, AHeaderClaimingMoreFramesThanTheFileHoldsDecodesWhatItHolds) {
  // A one-channel FLAC stream of 100 samples whose header claims 170 million.
  const std::string path = TempPath("claims.flac");
  SF_INFO info{};
  info.samplerate = platform::kSoundRate;
  info.channels = 1;
  info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  std::vector<float> tone(100, 0.5f);
  sf_write_float(file, tone.data(), 100);
  sf_close(file);
  std::fstream patch(path, std::ios::in | std::ios::out | std::ios::binary);
  char streamInfo[34];
  patch.seekg(8);
  patch.read(streamInfo, sizeof streamInfo);
  const uint64_t claimed = 170'000'000;  // 36 bits from bit 108 of the stream information
  streamInfo[13] = static_cast<char>((streamInfo[13] & 0xF0) | ((claimed >> 32) & 0x0F));
  for (int i = 0; i < 4; ++i) streamInfo[14 + i] = static_cast<char>((claimed >> (24 - 8 * i)) & 0xFF);
  patch.seekp(8);
  patch.write(streamInfo, sizeof streamInfo);
  patch.close();
  SF_INFO claimedInfo{};
  SNDFILE* check = sf_open(path.c_str(), SFM_READ, &claimedInfo);
  ASSERT_NE(check, nullptr);
  sf_close(check);
  ASSERT_EQ(claimedInfo.frames, 170'000'000);

  platform::SoundBuffer buffer;
  ASSERT_TRUE(platform::DecodeSoundFile(path, buffer));
  EXPECT_EQ(buffer.Samples.size(), 100u);
  EXPECT_FLOAT_EQ(buffer.Samples.front(), 0.5f);
}

}  // namespace
