// The clock's popup menu and its clipboard copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ClockFixture.h"
#include "platform/fake/MemoryClipboard.h"
#include "platform/fake/RecordingPopupMenu.h"

namespace {

using namespace clocktest;

struct MenuTest : ClockFixture {
  frmMain& Clock() { return MakeClock(LocalEpochMs(2026, 12, 7, 9, 5, 3, 100)); }
  platform::RecordingPopupMenu menus;
  platform::MemoryClipboard clipboard;
};

TEST_F(MenuTest, ARightPressPopsUpTheHiddenMenuWithItsItemsInOrder) {
  frmMain& clock = Clock();
  EXPECT_FALSE(clock.mnuPopUp.Visible);
  clock.Form().Events.MouseDown(platform::vbRightButton, 0, 15, 15);
  ASSERT_EQ(menus.Shown.size(), 1u);
  const std::vector<std::string> captions{"設定(&C)",         "クリップボードへコピー(&V)", "Kelvora ヘルプ(&M)",
                                          "バージョン情報(&A)", "-",                         "終了(&X)"};
  EXPECT_EQ(menus.Shown[0], captions);
}

TEST_F(MenuTest, CopyPutsTheBottomRowsFormatFirstEvenWithBothRowsHidden) {
  frmMain& clock = Clock();
  SettingsStore::mintRows = {0, 0};
  clock.RelayoutClock();
  menus.Choose = "mnuCopy";
  clock.Form().Events.MouseDown(platform::vbRightButton, 0, 15, 15);
  EXPECT_EQ(clipboard.Text, "月曜日 12/07 09:05:03\r\n");

  SettingsStore::UnderRowFormat = "  HH  ";  // nothing is trimmed
  basMain::CopyTimeToClipboard();
  EXPECT_EQ(clipboard.Text, "月曜日 12/07   09  \r\n");
}

// Fault caught: an end that loses what the user changed during the run
// (keys left out, the placement or the in-memory values not written).
TEST_F(MenuTest, EndClosesTheClockAndSavesThePlacementAndEverySettingAsItStands) {
  frmMain& clock = Clock();
  SettingsStore::MoveSide = 3;
  SettingsStore::WavFile = "MML:CDE";
  SettingsStore::UpperRowFormat = "GGG ee年";
  SettingsStore::TimeSignalRepeat = true;
  menus.Choose = "mnuEnd";
  clock.Form().Events.MouseDown(platform::vbRightButton, 0, 15, 15);
  EXPECT_TRUE(clock.mblnUnloaded);
  std::vector<std::string> written = store.WrittenKeys;
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{
                         "ChosenDaysOnly", "DoNotDisturb", "FontBold", "FontColor", "FontItalic", "FontName",
                         "FontStrikethrough", "FontUnderline", "FontWeight", "HalfHourMML", "HalfHourSignal",
                         "MainHeight", "MainLeft", "MainTop", "MainWidth", "MoveSide", "NoHolidaySignal",
                         "NoTestDllReg", "NoUseTimeSignal", "QuietFrom", "QuietHours", "QuietTo", "SignalDays",
                         "SignalVolume", "TimeSignalRepeat", "TopMost", "UnderRow", "UnderRowFormat", "UpperRow",
                         "UpperRowFormat", "UsePCBuzzer", "WavFile"}));
  const auto value = [&](const char* key) { return store.Values[{"Kelvora", "Settings", key}]; };
  EXPECT_EQ(value("MoveSide"), "3");
  EXPECT_EQ(value("WavFile"), "MML:CDE");
  EXPECT_EQ(value("UpperRowFormat"), "GGG ee年");
  EXPECT_EQ(value("TimeSignalRepeat"), "-1");
  EXPECT_DOUBLE_EQ(std::stod(value("MainWidth")), clock.Form().Width());
}

}  // namespace
