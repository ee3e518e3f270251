// The settings dialog on a clock window that runs on simulated time: test
// melodies borrow the clock's tick, the edge list moves the clock, and WAVE
// tests go to the buzzer or the sound device as the buzzer box says.
#include <gtest/gtest.h>

#include <filesystem>

#include "clock/core/ClockFixture.h"
#include "clock/settings/frmSetUp.h"
#include "platform/com/ComRegistry.h"

namespace {

using namespace clocktest;

struct SetUpOnClock : ClockFixture {
  SetUpOnClock() {
    std::filesystem::remove(platform::com::ComponentRegistryPath());
    SettingsStore::NoTestDllReg = true;
  }
  frmSetUp& Load() {
    dialog = &program.MakeSetUp();
    dialog->Form_Load();
    dialog->CheckComponents();
    dialog->LoadPages();  // as the first opening makes them
    dialog->Command1(7).SetValue(true);  // the time-signal page
    return *dialog;
  }
  frmSetUp* dialog = nullptr;
};

TEST_F(SetUpOnClock, ATestMelodyBorrowsTheTickAndTheClockTicksOnAt500ms) {
  frmMain& clock = MakeClock(LocalEpochMs(2026, 12, 7, 9, 5, 3, 100));
  frmSetUp& d = Load();
  d.Text1->SetText("MML:T150O5CDEFG");
  Listening = true;
  d.Command1(5).SetValue(true);
  EXPECT_EQ(clock.Timer1->Interval(), 1);

  scheduler.RunFor(2500);
  const std::vector<audio::Tone> tones = TakeTones();
  ASSERT_EQ(tones.size(), 5u);
  const double expected[] = {524.706, 588.935, 661.043, 700.233, 786.022};  // 1 193 182 / divisor
  for (size_t i = 0; i < tones.size(); ++i) {
    EXPECT_NEAR(tones[i].Frequency, expected[i], 1.0) << i;
    EXPECT_NEAR(tones[i].Length(), 0.4, 0.005) << i;
  }
  EXPECT_EQ(d.mcPlayMML, nullptr);
  EXPECT_EQ(clock.Timer1->Interval(), 500);
  EXPECT_TRUE(clock.Timer1->Enabled());
  EXPECT_EQ(clock.Label1(0).Caption(), "09:05:05") << "the clock ticked through the melody";
  scheduler.RunFor(1000);
  EXPECT_EQ(clock.Label1(0).Caption(), "09:05:06");
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(SetUpOnClock, ChoosingAnEdgeMovesTheClockThereButNoMovementLeavesIt) {
  frmMain& clock = MakeClock(LocalEpochMs(2026, 12, 7, 9, 5, 3, 100));
  frmSetUp& d = Load();
  // Loading shows the left edge (the default) without choosing it: the clock
  // stays in its top right corner until the first jump.
  EXPECT_EQ(d.Combo1(2).ListIndex(), 3);
  EXPECT_EQ(basMain::mintCorner, 0);
  clock.Form_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(basMain::mintCorner, 2) << "the first jump reaches the bottom left corner";
  clock.Form().Move(1500, 1500, clock.Form().Width(), clock.Form().Height());
  d.Combo1(2).SetListIndex(4);
  EXPECT_EQ(clock.Form().Left(), 1500);
  EXPECT_EQ(clock.Form().Top(), 1500);

  d.Combo1(2).SetListIndex(2);  // the bottom edge: from corner 2 to 1
  EXPECT_EQ(SettingsStore::MoveSide, 2);
  EXPECT_EQ(basMain::mintCorner, 1);
  const frmSetUp::WorkArea& area = d.mudtWorkArea;
  EXPECT_EQ(clock.Form().Left(), (area.Left + area.Width) * 15.0 - clock.Form().Width());
  EXPECT_EQ(clock.Form().Top(), (area.Top + area.Height) * 15.0 - clock.Form().Height());
}

TEST_F(SetUpOnClock, AWaveTestGoesToTheBuzzerWhenItsBoxIsChecked) {
  basMain::mblnSpeakerReady = true;
  frmMain& clock = MakeClock(LocalEpochMs(2026, 12, 7, 9, 5, 3, 100));
  auto* speaker = new FakeSpeaker();
  clock.SetSpeaker(std::unique_ptr<ISpeakerControl>(speaker));
  frmSetUp& d = Load();
  const std::string hour = WriteTone("hour.wav", 200);
  d.Text1->SetText(hour);

  d.Check1(6).SetValue(platform::vbChecked);
  d.Command1(5).SetValue(true);
  EXPECT_EQ(speaker->File, hour);
  EXPECT_EQ(speaker->Plays, 1);

  d.Check1(6).SetValue(platform::vbUnchecked);
  Listening = true;
  d.Command1(5).SetValue(true);
  scheduler.RunFor(500);
  EXPECT_EQ(TakeTones().size(), 1u) << "on the sound device";
  EXPECT_EQ(speaker->Plays, 1);

  // 了解 hands a changed buzzer file to the control.
  d.Check1(6).SetValue(platform::vbChecked);
  const std::string other = WriteTone("other.wav", 100);
  d.Text1->SetText(other);
  speaker->File.clear();
  d.Command1(1).SetValue(true);
  EXPECT_EQ(SettingsStore::WavFile, other);
  EXPECT_EQ(speaker->File, other);
}

}  // namespace
