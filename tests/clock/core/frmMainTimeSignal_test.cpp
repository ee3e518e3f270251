// The hourly time signal, on simulated time: the tick that starts it, the
// plays of each kind heard in the captured sound, the repetitions, and the
// next hour after every way a signal can end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ClockFixture.h"
#include "clock/core/basMain.h"
#include "clock/sound/clsPlayMML.h"

namespace {

using namespace clocktest;
using SettingsStore::TimeSignalRepeat;

// A note and a rest of the same length: each play is one tone in the capture.
constexpr const char* kMelody = "MML:T240O5C16P16";  // 62.5 ms + 62.5 ms

struct TimeSignalTest : ClockFixture {
  // The clock two seconds before the full hour of the day 2026-12-07 (Tokyo).
  frmMain& ClockBefore(int hour) { return MakeClock(LocalEpochMs(2026, 12, 7, hour - 1, 59, 58, 250)); }
  // Moves the wall clock to two seconds before the next full hour.
  void StepToBefore(int hour) {
    const platform::DateTime now = platform::Now();
    const int64_t target = LocalEpochMs(now.Year, now.Month, now.Day, hour - 1, 59, 58, 250);
    time.StepWallClock(target - time.WallClock());
  }
  // Runs through the full hour while listening; the plays heard.
  size_t HearHour(int64_t ms = 6000) {
    Listening = true;
    scheduler.RunFor(ms);
    Listening = false;
    return TakeTones().size();
  }
};

TEST_F(TimeSignalTest, AMelodyAtThreeWithRepeatPlaysThreeTimesThenStopsThePlayersTimer) {
  SettingsStore::WavFile = kMelody;
  TimeSignalRepeat = true;
  frmMain& clock = ClockBefore(15);
  EXPECT_EQ(HearHour(), 3u) << "the ticks of 15:00:00 after the first start nothing new";
  EXPECT_EQ(clock.mintRestRepeatCount, 0);
  EXPECT_FALSE(clock.mblnTimeSignalStarted) << "finished, and re-armed by the next tick";
  EXPECT_FALSE(clock.Timer2->Enabled()) << "the player's timer stops with the last play";
  EXPECT_TRUE(box.Calls.empty());

  StepToBefore(16);
  EXPECT_EQ(HearHour(), 4u) << "the next hour sounds again";
}

TEST_F(TimeSignalTest, TheRepeatCountIsTheHourOnATwelveHourDial) {
  SettingsStore::WavFile = kMelody;
  TimeSignalRepeat = true;
  ClockBefore(12);
  EXPECT_EQ(HearHour(), 12u) << "12:00";
  StepToBefore(13);
  EXPECT_EQ(HearHour(), 1u) << "13:00";
  StepToBefore(24);  // 00:00 of the next day
  EXPECT_EQ(HearHour(), 12u) << "00:00";

  TimeSignalRepeat = false;
  StepToBefore(12);
  EXPECT_EQ(HearHour(), 1u) << "without repetition";
}

TEST_F(TimeSignalTest, TheKindFollowsTheText) {
  const std::string wave = WriteTone("kind.wav", 50);
  struct Case {
    std::string Text;
    bool Buzzer, Ready, Off;
    int16_t Kind;
  } cases[] = {
      {"mml:CDE", false, false, false, 1},
      {"MmL:", false, false, false, 1},
      {" mml:CDE", false, false, false, 4},
      {"CDE MML:", false, false, false, 4},
      {"", false, false, false, 3},
      {"", true, true, false, 2},
      {wave, false, true, false, 3},
      {wave, true, false, false, 3},  // the buzzer is not usable: the sound device
      {wave, true, true, false, 2},
      {TempFolder().string(), false, false, false, 4},  // a folder is no file
      {"MML:CDE", false, false, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.Text + "\"");
    SettingsStore::WavFile = c.Text;
    SettingsStore::UsePCBuzzer = c.Buzzer;
    SettingsStore::NoUseTimeSignal = c.Off;
    basMain::mblnSpeakerReady = c.Ready;
    EXPECT_EQ(basMain::GetTimeSignalKind(), c.Kind);
    EXPECT_EQ(basMain::mintTimeSignalKind, c.Kind);
  }

  // While the settings dialog is loaded, its field is the text.
  SettingsStore::NoUseTimeSignal = false;
  SettingsStore::WavFile = "MML:C";
  basMain::gfncTimeSignalText = [] { return std::string("no such file.wav"); };
  EXPECT_EQ(basMain::TimeSignalText(), "no such file.wav");
  EXPECT_EQ(basMain::GetTimeSignalKind(), 4);
}

TEST_F(TimeSignalTest, AWaveFileRepeatsOnTheSoundDeviceWhenTheBuzzerIsNotUsable) {
  SettingsStore::WavFile = WriteTone("signal.wav", 100);
  SettingsStore::UsePCBuzzer = true;
  TimeSignalRepeat = true;
  frmMain& clock = ClockBefore(15);
  EXPECT_EQ(HearHour(), 3u);
  EXPECT_EQ(clock.mintSignalKind, 3);
  EXPECT_FALSE(clock.mblnTimeSignalStarted) << "finished and re-armed";

  // An empty text is a file that plays nothing: silence, and the hour ends.
  SettingsStore::WavFile = "";
  StepToBefore(16);
  EXPECT_EQ(HearHour(), 0u);
  EXPECT_EQ(clock.mintRestRepeatCount, 0);
  EXPECT_EQ(clock.Label1(0).Caption(), "16:00:04") << "the rows refresh after the silent signal";
}

TEST_F(TimeSignalTest, TheBuzzerPlaysAsOftenAsTheHourAndEndsWithItsLastDone) {
  SettingsStore::WavFile = WriteTone("buzzer.wav", 100);
  SettingsStore::UsePCBuzzer = true;
  basMain::mblnSpeakerReady = true;
  TimeSignalRepeat = true;
  frmMain& clock = ClockBefore(15);
  auto speaker = std::make_unique<FakeSpeaker>(300);
  FakeSpeaker& buzzer = *speaker;
  clock.SetSpeaker(std::move(speaker));
  EXPECT_EQ(HearHour(), 0u) << "nothing on the sound device";
  EXPECT_EQ(buzzer.Plays, 3);
  EXPECT_FALSE(clock.mblnTimeSignalStarted) << "finished and re-armed";

  int16_t cancel = 0;
  clock.Form_Unload(cancel);
  EXPECT_EQ(buzzer.Releases, 1) << "member 5 when the clock unloads";
}

TEST_F(TimeSignalTest, EveryWayASignalEndsLetsTheNextHourSoundAgain) {
  const std::string wave = WriteTone("once.wav", 100);
  frmMain& clock = ClockBefore(9);
  auto speaker = std::make_unique<FakeSpeaker>(300);
  FakeSpeaker& buzzer = *speaker;
  clock.SetSpeaker(std::move(speaker));
  basMain::mblnSpeakerReady = true;
  const struct {
    const char* Name;
    std::string Text;
    bool Buzzer;
  } kinds[] = {{"melody", kMelody, false},       {"wave once", wave, false},     {"buzzer", wave, true},
               {"no such file", "nothing.wav", false}, {"empty melody", "MML:T90", false}, {"melody again", kMelody, false}};
  int hour = 9;
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.Name);
    SettingsStore::WavFile = kind.Text;
    SettingsStore::UsePCBuzzer = kind.Buzzer;
    const int plays = buzzer.Plays;
    scheduler.RunFor(1800);  // to hh:00:00.050
    EXPECT_TRUE(clock.mblnTimeSignalStarted) << "started at " << hour << ":00";
    Listening = true;
    scheduler.RunFor(4000);
    Listening = false;
    const size_t heard = TakeTones().size() + static_cast<size_t>(buzzer.Plays - plays);
    EXPECT_EQ(heard, kind.Text == "nothing.wav" || kind.Text == "MML:T90" ? 0u : 1u);
    EXPECT_TRUE(clock.mblnTimeSignalFinished || !clock.mblnTimeSignalStarted);
    StepToBefore(++hour);
  }
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(TimeSignalTest, AMelodyThePlayerRejectsIsReportedAndTheClockGoesOn) {
  SettingsStore::WavFile = "MML:CDL";  // a length without its number
  TimeSignalRepeat = true;
  frmMain& clock = ClockBefore(15);
  EXPECT_EQ(HearHour(3000), 0u);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_NE(box.Calls[0].Prompt.find("Number: 5"), std::string::npos);
  EXPECT_EQ(clock.mintRestRepeatCount, 0) << "no repetitions wait for a melody that never plays";
  EXPECT_EQ(clock.Label1(0).Caption(), "15:00:01") << "the rows go on";

  SettingsStore::WavFile = kMelody;
  StepToBefore(16);
  EXPECT_EQ(HearHour(), 4u);
}

TEST_F(TimeSignalTest, WithoutThePortModuleAMelodyIsSilentAndTheHourEnds) {
  const std::string path = std::getenv("KELVORA_MODULE_PATH") ? std::getenv("KELVORA_MODULE_PATH") : "";
  unsetenv("KELVORA_MODULE_PATH");
  SettingsStore::WavFile = kMelody;
  TimeSignalRepeat = true;
  frmMain& clock = ClockBefore(15);
  scheduler.RunFor(3000);
  setenv("KELVORA_MODULE_PATH", path.c_str(), 1);
  EXPECT_EQ(clock.mcPlayMML, nullptr);
  EXPECT_EQ(clock.mintRestRepeatCount, 0);
  EXPECT_TRUE(box.Calls.empty()) << "silent at signal time";
  EXPECT_EQ(clock.Label1(0).Caption(), "15:00:01");
}

TEST_F(TimeSignalTest, ASettingChangedDuringARepeatedWaveDoesNotStallTheClock) {
  SettingsStore::WavFile = WriteTone("change.wav", 100);
  TimeSignalRepeat = true;
  frmMain& clock = ClockBefore(15);
  Listening = true;
  scheduler.RunFor(2000);  // the first play of three
  // The settings dialog computes the kind again when a box is checked.
  SettingsStore::UsePCBuzzer = true;
  basMain::mblnSpeakerReady = true;
  EXPECT_EQ(basMain::GetTimeSignalKind(), 2);
  scheduler.RunFor(4000);
  Listening = false;
  EXPECT_EQ(TakeTones().size(), 3u);
  EXPECT_FALSE(clock.mblnTimeSignalStarted) << "finished and re-armed";
  EXPECT_EQ(clock.Label1(0).Caption(), "15:00:04");
}

TEST_F(TimeSignalTest, AStalledLoopStillSignalsWithinTheHoursFirstSeconds) {
  SettingsStore::WavFile = "nothing.wav";  // silent: the signal ends at once
  frmMain& clock = ClockBefore(15);
  scheduler.RunFor(1700);  // 14:59:59.950
  scheduler.Stall(3000);   // no tick until 15:00:02.950
  EXPECT_FALSE(clock.mblnTimeSignalStarted);
  scheduler.RunFor(10);
  EXPECT_TRUE(clock.mblnTimeSignalStarted) << "the late tick of 15:00:02 signals";
  EXPECT_EQ(clock.Label1(0).Caption(), "14:59:59") << "and does nothing else";
  // It ended at once; the later ticks of the first seconds do not sound it again.
  int signals = 0;
  auto tick = clock.Timer1->OwnerTimer;
  clock.Timer1->OwnerTimer = [&] {
    const bool before = clock.mblnTimeSignalStarted;
    tick();
    signals += !before && clock.mblnTimeSignalStarted;
  };
  scheduler.RunFor(10000);
  EXPECT_EQ(signals, 0);

  // A loop stalled past the first seconds has lost that hour.
  StepToBefore(16);
  scheduler.RunFor(1700);
  scheduler.Stall(frmMain::kTimeSignalWindow * 1000 + 100);
  scheduler.RunFor(2000);
  EXPECT_EQ(signals, 0);
}

// Local full hours, in zones with daylight saving time and with a half-hour
// offset: the buzzer's plays mark when each signal starts.
struct LocalHourTest : TimeSignalTest {
  struct Start {
    platform::DateTime Local;
    int64_t UtcMinute;
  };
  std::vector<Start> SignalsBetween(int64_t from, int64_t to) {
    SettingsStore::WavFile = WriteTone("local.wav", 50);
    SettingsStore::UsePCBuzzer = true;
    basMain::mblnSpeakerReady = true;
    frmMain& clock = MakeClock(from);
    auto speaker = std::make_unique<FakeSpeaker>(100);
    FakeSpeaker& buzzer = *speaker;
    clock.SetSpeaker(std::move(speaker));
    std::vector<Start> starts;
    while (time.WallClock() < to) {
      const int plays = buzzer.Plays;
      scheduler.RunFor(250);
      if (buzzer.Plays != plays) starts.push_back({platform::Now(), time.WallClock() / 60000 % 60});
    }
    return starts;
  }
};

TEST_F(LocalHourTest, DaylightSavingTimeAndHalfHourZonesSignalAtEveryLocalFullHour) {
  {
    ScopedTimeZone zone("Europe/Berlin");
    // 29 March 2026: at 02:00 the clocks go to 03:00.
    const auto spring = SignalsBetween(LocalEpochMs(2026, 3, 29, 0, 59, 58), LocalEpochMs(2026, 3, 29, 3, 0, 3));
    ASSERT_EQ(spring.size(), 2u);
    EXPECT_EQ(spring[0].Local.Hour, 1);
    EXPECT_EQ(spring[1].Local.Hour, 3);
  }
  program.ReleaseWindows();
  {
    ScopedTimeZone zone("Europe/Berlin");
    // 25 October 2026: at 03:00 summer time the clocks go back to 02:00;
    // the hour 02:00 comes twice.
    const int64_t from = LocalEpochMs(2026, 10, 25, 1, 59, 58);  // summer time
    const auto autumn = SignalsBetween(from, from + 2 * 3600000 + 5000);
    ASSERT_EQ(autumn.size(), 3u);
    EXPECT_EQ(autumn[0].Local.Hour, 2);
    EXPECT_EQ(autumn[1].Local.Hour, 2);
    EXPECT_EQ(autumn[2].Local.Hour, 3);
  }
  program.ReleaseWindows();
  {
    ScopedTimeZone zone("Asia/Kolkata");
    const auto india = SignalsBetween(LocalEpochMs(2026, 12, 7, 9, 59, 58), LocalEpochMs(2026, 12, 7, 11, 0, 3));
    ASSERT_EQ(india.size(), 2u);
    EXPECT_EQ(india[0].Local.Hour, 10);
    EXPECT_EQ(india[1].Local.Hour, 11);
    // Local full hours fall at half past the hour of UTC.
    EXPECT_EQ(india[0].UtcMinute, 30);
    EXPECT_EQ(india[1].UtcMinute, 30);
  }
}

}  // namespace
