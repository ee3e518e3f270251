// The emulated PC speaker, measured on the audio it renders: the player and
// the port-I/O module on a virtual clock, captured sample by sample.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "clock/help/basSystem.h"
#include "clock/sound/PortIO.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "platform/Sound.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeTimer.h"
#include "tools/AudioAnalysis.h"

namespace {

constexpr int32_t kRate = platform::kSoundRate;
constexpr int32_t kPerMs = kRate / 1000;

// Plays a melody to its end on the virtual clock and returns the capture.
std::vector<float> Render(const std::string& text, clsPlayMML::Hardware hardware) {
  platform::FakeClock clock;
  platform::FakeTimer timer;
  platform::ScopedCapture capture;
  auto melody = std::make_shared<clsIOMML>();
  melody->SetNotesCommand(text);
  melody->MakeSoundData();
  clsPlayMML player(hardware);
  bool done = false;
  player.Done = [&](int16_t& stop) { stop = done = true; };
  player.SetclsIOMML(melody);
  player.SetTimer(&timer);
  player.PlayStart();
  for (int ms = 0; ms < 60000 && !done; ++ms) {
    timer.Fire();
    capture.Sink().Pull(kPerMs);
    clock.Advance(1);
  }
  capture.Sink().Pull(100 * kPerMs);
  return capture.Sink().Samples();
}

// Magnitude of one frequency in a stretch (a single DFT bin, Hann window).
double Magnitude(const std::vector<float>& s, size_t first, size_t count, double frequency) {
  double re = 0, im = 0;
  for (size_t n = 0; n < count; ++n) {
    const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(n) / static_cast<double>(count));
    const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(n) / kRate;
    re += w * s[first + n] * std::cos(phase);
    im -= w * s[first + n] * std::sin(phase);
  }
  return std::hypot(re, im) / static_cast<double>(count);
}

struct SpeakerTest : testing::Test {
  void SetUp() override {
    port = PortIOModule();
    ASSERT_NE(port, nullptr) << "the port-I/O module was not found on KELVORA_MODULE_PATH";
  }
  IPortIO* port = nullptr;
};

TEST_F(SpeakerTest, TheLibraryIsFoundAndMakesThisAPCAT) {
  EXPECT_TRUE(basSystem::IsFileOnSearchPath("DWSPY5.DLL"));
  EXPECT_TRUE(basSystem::IsFileOnSearchPath("C:/WINDOWS/SYSTEM/dwspy5.dll"));
  EXPECT_FALSE(basSystem::IsFileOnSearchPath("NOSUCH.DLL"));
  EXPECT_EQ(basSystem::GetMachineType(), 2);
  EXPECT_EQ(clsPlayMML().ExistDLL(), -1);
}

TEST_F(SpeakerTest, PCATToneHasTheChipsPitchAndTheNotesLength) {
  const std::vector<float> s = Render("T120L4O4A", clsPlayMML::Hardware{true, 2, port});
  const auto tones = audio::FindTones(s, kRate);
  ASSERT_EQ(tones.size(), 1u);
  // 1 190 000 / 440 → divisor 2705; the chip divides 1 193 182 Hz by it.
  const double expected = 1193182.0 / 2705;
  EXPECT_NEAR(tones[0].Frequency, expected, expected * 0.001);
  EXPECT_NEAR(tones[0].Length() * 1000, 500.0, 2.0);

  // Before the gate opens and after it closes (past the ramp) there is
  // nothing at all; while it sounds there is no DC offset.
  const auto end = static_cast<size_t>(tones[0].End * kRate);
  EXPECT_EQ(audio::Rms(s, end + 5 * kPerMs, 50 * kPerMs), 0.0);
  double sum = 0;
  // 132 whole periods, about 300 ms.
  const size_t first = 100 * kPerMs, count = static_cast<size_t>(std::lround(132 * kRate / expected));
  for (size_t i = first; i < first + count; ++i) sum += s[i];
  EXPECT_LT(std::fabs(sum / static_cast<double>(count)), 2e-3);
}

TEST_F(SpeakerTest, PC98ToneHasThePC98Pitch) {
  const std::vector<float> s = Render("T120L4O4A", clsPlayMML::Hardware{true, 1, port});
  const auto tones = audio::FindTones(s, kRate);
  ASSERT_EQ(tones.size(), 1u);
  const double expected = 2457600.0 / 5585;
  EXPECT_NEAR(tones[0].Frequency, expected, expected * 0.001);
  EXPECT_NEAR(tones[0].Length() * 1000, 500.0, 2.0);
}

TEST_F(SpeakerTest, MelodyNotesAndRestsKeepTheirPlaces) {
  const std::vector<float> s = Render("T150O5CDEP4FG", clsPlayMML::Hardware{true, 2, port});
  const auto tones = audio::FindTones(s, kRate);
  ASSERT_EQ(tones.size(), 5u);
  const double starts[] = {0, 400, 800, 1600, 2000};
  const int divisors[] = {2274, 2026, 1805, 1704, 1518};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(tones[i].Start * 1000, starts[i], 2.0) << i;
    EXPECT_NEAR(tones[i].Length() * 1000, 400.0, 2.0) << i;
    EXPECT_NEAR(tones[i].Frequency, 1193182.0 / divisors[i], 1193182.0 / divisors[i] * 0.001) << i;
  }
}

TEST_F(SpeakerTest, PortsBehaveLikeTheChips) {
  platform::ScopedCapture capture;
  auto pull = [&](int ms) {
    capture.Sink().Clear();
    capture.Sink().Pull(ms * kPerMs);
    return capture.Sink().Samples();
  };
  port->agOutp(0x61, 0x30);
  EXPECT_EQ(port->agInp(0x61), 0x30);  // reads back what was written
  port->agOutp(0x43, 0xB6);
  port->agOutp(0x42, 0xA9);  // 0x04A9 = 1193: 1000.15 Hz
  port->agOutp(0x42, 0x04);
  EXPECT_EQ(audio::Rms(pull(20)), 0.0);  // gate closed
  port->agOutp(0x61, 0x32);
  EXPECT_EQ(audio::Rms(pull(20)), 0.0);  // speaker data without the gate
  port->agOutp(0x61, 0x33);
  std::vector<float> on = pull(100);
  EXPECT_EQ(port->agInp(0x61), 0x33);
  // The gate opens and closes through a short ramp, not a step (a click).
  auto meanLevel = [](const std::vector<float>& v, size_t first, size_t count) {
    double sum = 0;
    for (size_t i = first; i < first + count; ++i) sum += std::fabs(v[i]);
    return sum / static_cast<double>(count);
  };
  const double steady = meanLevel(on, 50 * kPerMs, 10 * kPerMs);
  EXPECT_LT(meanLevel(on, 0, kPerMs / 2), steady * 0.5);
  EXPECT_GT(Magnitude(on, 20 * kPerMs, 80 * kPerMs, 1193182.0 / 1193), 0.05);

  // A high tone carries no alias: 4 kHz (divisor 298 = 4003.97 Hz) has odd
  // harmonics at 12, 20, 28, 36 kHz…; those above 24 kHz would fold back to
  // 20 and 12 kHz's neighbours: 48 − 28.03 = 19.97 kHz.
  port->agOutp(0x42, 298 & 0xFF);
  port->agOutp(0x42, 298 >> 8);
  std::vector<float> high = pull(100);
  const double f = 1193182.0 / 298;
  const double fundamental = Magnitude(high, 20 * kPerMs, 80 * kPerMs, f);
  const double alias = Magnitude(high, 20 * kPerMs, 80 * kPerMs, kRate - 7 * f);
  EXPECT_GT(fundamental, 0.05);
  EXPECT_LT(alias, fundamental * 1e-3);

  port->agOutp(0x61, 0x30);
  std::vector<float> off = pull(50);
  EXPECT_GT(meanLevel(off, 0, kPerMs / 2), steady * 0.2);
  EXPECT_LT(meanLevel(off, 0, kPerMs / 2), steady * 0.9);
  EXPECT_EQ(audio::Rms(off, 5 * kPerMs, 45 * kPerMs), 0.0);
}

TEST_F(SpeakerTest, ControlWordsAndAccessModes) {
  platform::ScopedCapture capture;
  // The pitch after the change has settled (ramps over).
  auto pitch = [&] {
    capture.Sink().Pull(10 * kPerMs);
    capture.Sink().Clear();
    capture.Sink().Pull(100 * kPerMs);
    const auto tones = audio::FindTones(capture.Sink().Samples(), kRate);
    return tones.empty() ? 0.0 : tones.back().Frequency;
  };
  port->agOutp(0x43, 0xB6);
  port->agOutp(0x42, 0xA9);
  port->agOutp(0x42, 0x04);  // 1193
  port->agOutp(0x61, 0x03);
  EXPECT_NEAR(pitch(), 1193182.0 / 1193, 1.0);
  port->agOutp(0x43, 0x36);  // channel 0: not the speaker's
  port->agOutp(0x40, 0x12);
  EXPECT_NEAR(pitch(), 1193182.0 / 1193, 1.0);
  port->agOutp(0x43, 0x96);  // channel 2, low byte only
  port->agOutp(0x42, 200);
  EXPECT_NEAR(pitch(), 1193182.0 / 200, 5.0);
  port->agOutp(0x43, 0xB0);  // mode 0 (one shot): no tone
  port->agOutp(0x42, 0xA9);
  port->agOutp(0x42, 0x04);
  EXPECT_EQ(pitch(), 0.0);
  port->agOutp(0x61, 0x00);

  // PC-98: port C bit 3 (set/reset at 0x37) switches the beeper, low = on.
  port->agOutp(0x77, 0x76);
  port->agOutp(0x3FDB, 0xD1);
  port->agOutp(0x3FDB, 0x15);  // 5585: 440.04 Hz
  EXPECT_EQ(pitch(), 0.0);
  port->agOutp(0x37, 6);
  EXPECT_NEAR(pitch(), 2457600.0 / 5585, 0.2);
  port->agOutp(0x37, 4);  // another bit of port C
  EXPECT_NEAR(pitch(), 2457600.0 / 5585, 0.2);
  port->agOutp(0x37, 7);
  EXPECT_EQ(pitch(), 0.0);
}

}  // namespace
