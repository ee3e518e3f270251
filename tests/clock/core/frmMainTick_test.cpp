// The clock window's tick on simulated time: the rows turn over on the true
// second, never skipping or repeating one, and the tick timer survives
// being lent to a melody test.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ClockFixture.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"

namespace {

using namespace clocktest;

struct TickTest : ClockFixture {
  // Records the top row's text whenever a tick changed it, with the
  // milliseconds past the second at which it changed.
  void WatchTopRow(frmMain& clock) {
    auto tick = clock.Timer1->OwnerTimer;
    clock.Timer1->OwnerTimer = [this, &clock, tick] {
      tick();
      const std::string text = clock.Label1(0).Caption();
      if (Texts.empty() || Texts.back() != text) {
        Texts.push_back(text);
        Lags.push_back(static_cast<int>(time.WallClock() % 1000));
      }
    };
  }
  static std::string Text(int hour, int minute, int second) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    return text;
  }

  std::vector<std::string> Texts;
  std::vector<int> Lags;
};

TEST_F(TickTest, InASimulatedHourTheRowsShowEverySecondOnceJustAfterItBegins) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int32_t> lateness(-2, 25);
  scheduler.Lateness = [&] { return lateness(random); };
  SettingsStore::WavFile = "no such file.wav";  // a signal that sounds nothing
  frmMain& clock = MakeClock(LocalEpochMs(2026, 12, 7, 9, 59, 58, 613));
  clock.UpdateRows(true);
  WatchTopRow(clock);
  scheduler.RunFor(3600 * 1000 + 2000);

  std::vector<std::string> expected{"09:59:59"};
  for (int s = 1; s <= 3600; ++s) {
    // The tick of a full hour's trigger second belongs to the signal.
    if (s != 3600) expected.push_back(Text(10 + s / 3600, s / 60 % 60, s % 60));
  }
  EXPECT_EQ(Texts, expected);
  for (int lag : Lags) EXPECT_LE(lag, 25 + platform::PhaseLockedTimer::kPhaseOffset) << "the text changes just after the second";

  // Without the signal, the full hour is shown too.
  SettingsStore::NoUseTimeSignal = true;
  time.StepWallClock(LocalEpochMs(2026, 12, 7, 11, 59, 58, 0) - time.WallClock());
  Texts.clear();
  scheduler.RunFor(3000);
  EXPECT_EQ(Texts, (std::vector<std::string>{"11:59:58", "11:59:59", "12:00:00"}));
}

TEST_F(TickTest, TheHourlySignalStartsAtTheTrueSecond) {
  SettingsStore::WavFile = "no such file.wav";
  frmMain& clock = MakeClock(LocalEpochMs(2026, 12, 7, 14, 59, 59, 321));
  int64_t started = 0;
  auto tick = clock.Timer1->OwnerTimer;
  clock.Timer1->OwnerTimer = [&] {
    tick();
    if (clock.mblnTimeSignalStarted && started == 0) started = time.WallClock();
  };
  scheduler.RunFor(2000);
  EXPECT_EQ(started, LocalEpochMs(2026, 12, 7, 15, 0, 0, platform::PhaseLockedTimer::kPhaseOffset));
}

TEST_F(TickTest, TheTickTimerLentToAMelodyTestComesBackInStep) {
  frmMain& clock = MakeClock(LocalEpochMs(2026, 12, 7, 9, 5, 3, 100));
  WatchTopRow(clock);
  scheduler.RunFor(1000);

  // What the settings dialog's test does: the clock's tick timer paces the
  // player, and is set back to 500 ms and taken back when the melody ends.
  auto melody = std::make_shared<clsIOMML>();
  melody->SetNotesCommand("T60L1C");  // four seconds
  melody->MakeSoundData();
  auto player = std::make_unique<clsPlayMML>();
  ASSERT_TRUE(player->ExistDLL());
  bool done = false;
  player->Done = [&](int16_t&) {
    done = true;
    clock.Timer1->SetInterval(500);
    player->SetTimer(nullptr);
  };
  player->SetclsIOMML(melody);
  player->SetTimer(clock.Timer1.get());
  player->PlayStart();
  EXPECT_EQ(clock.Timer1->Interval(), 1);
  Texts.clear();
  scheduler.RunFor(4500);
  EXPECT_TRUE(done);
  EXPECT_EQ(Texts.size(), 5u) << "the clock went on ticking while the melody played";

  Lags.clear();
  scheduler.RunFor(5000);
  ASSERT_EQ(Lags.size(), 5u);
  for (int lag : Lags) EXPECT_EQ(lag, platform::PhaseLockedTimer::kPhaseOffset);
}

}  // namespace
