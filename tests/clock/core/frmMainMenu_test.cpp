// The clock's popup menu and its clipboard copy.
#include <gtest/gtest.h>

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

TEST_F(MenuTest, EndClosesTheClockAndSavesTheSettings) {
  frmMain& clock = Clock();
  menus.Choose = "mnuEnd";
  clock.Form().Events.MouseDown(platform::vbRightButton, 0, 15, 15);
  EXPECT_TRUE(clock.mblnUnloaded);
  EXPECT_FALSE(store.WrittenKeys.empty());
}

}  // namespace
