// The display page: row boxes, formats typed or picked, the edge, the
// component-check box and the font button.
#include <gtest/gtest.h>

#include "SetUpFixture.h"

namespace {

using namespace setuptest;
using namespace platform;

TEST_F(SetUpFixture, OneRowAlwaysStaysVisible) {
  frmSetUp& d = Load();
  Click(3);  // row 2 off
  EXPECT_EQ(SettingsStore::mintRows, (std::array<int16_t, 2>{1, 0}));
  EXPECT_FALSE(clock->Label1(1).Visible());

  Click(2);  // row 1 off while row 2 is hidden: row 2 comes back
  EXPECT_EQ(d.Check1(2).Value(), vbUnchecked);
  EXPECT_EQ(d.Check1(3).Value(), vbChecked);
  EXPECT_EQ(SettingsStore::mintRows, (std::array<int16_t, 2>{0, 1}));
  EXPECT_FALSE(clock->Label1(0).Visible());
  EXPECT_TRUE(clock->Label1(1).Visible());

  Click(3);  // and the other way round
  EXPECT_EQ(SettingsStore::mintRows, (std::array<int16_t, 2>{1, 0}));
  EXPECT_EQ(d.Check1(2).Value(), vbChecked);
  EXPECT_TRUE(messages.Calls.empty());
}

TEST_F(SetUpFixture, AFormatTypedOrPickedShowsOnTheClockAtOnce) {
  frmSetUp& d = Load();
  d.Combo1(0).SetText("h:m:s");
  EXPECT_EQ(SettingsStore::UnderRowFormat, "h:m:s");
  EXPECT_EQ(clock->Label1(0).Caption(), "9:5:3");

  // A format that cannot be applied is not taken; the row keeps its text.
  d.Combo1(0).SetText("HH \"open");
  EXPECT_EQ(SettingsStore::UnderRowFormat, "h:m:s");
  EXPECT_EQ(clock->Label1(0).Caption(), "9:5:3");

  d.Combo1(0).SetText("HH:MM:SS");
  d.Combo1(1).SetListIndex(4);  // "mmmm DD ddd"
  EXPECT_EQ(SettingsStore::UpperRowFormat, "mmmm DD ddd");
  EXPECT_EQ(SettingsStore::UnderRowFormat, "HH:MM:SS");
  EXPECT_EQ(clock->Label1(0).Caption(), "09:05:03");
  EXPECT_NE(clock->Label1(1).Caption(), "月曜日 12/07");
}

TEST_F(SetUpFixture, TheEdgeListSetsMoveSide) {
  frmSetUp& d = Load();
  d.Combo1(2).SetListIndex(4);
  EXPECT_EQ(SettingsStore::MoveSide, 4);
  d.Combo1(2).SetListIndex(1);
  EXPECT_EQ(SettingsStore::MoveSide, 1);
}

TEST_F(SetUpFixture, TheComponentCheckBoxSaysWhenItCounts) {
  SettingsStore::NoTestDllReg = false;
  messages.Answers = {vbNo};  // Quillet is not registered: not now
  Load();
  messages.Calls.clear();
  Click(1);
  EXPECT_TRUE(SettingsStore::NoTestDllReg);
  Click(1);
  EXPECT_FALSE(SettingsStore::NoTestDllReg);
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"この設定は、次回起動時から有効になります|0",
                                                 "この設定は、次回起動時から有効になります|0"}));
}

TEST_F(SetUpFixture, TheFontButtonGivesBothRowsTheChosenFontAndColour) {
  frmSetUp& d = Load();
  const StdFont before = clock->Label1(0).Font();

  // Cancelled: nothing changes.
  d.Command1(3).SetValue(true);
  ASSERT_EQ(dialogs.FontCalls.size(), 1u);
  EXPECT_EQ(dialogs.FontCalls[0].Info.Flags & 0x30101, 0x30101);
  EXPECT_EQ(dialogs.FontCalls[0].Info.hwndOwner, &d.Form());
  EXPECT_EQ(clock->Label1(0).Font(), before);

  ScriptedCommonDialogs::FontAnswer answer;
  answer.Font.lfFaceName = "IPAGothic";
  answer.Font.lfHeight = -40;
  answer.Font.lfWeight = 700;
  answer.Font.lfItalic = 1;
  answer.Color = 0x0000FF;
  dialogs.FontAnswers.push_back(answer);
  d.Command1(3).SetValue(true);
  for (int16_t i = 0; i < 2; ++i) {
    EXPECT_EQ(clock->Label1(i).Font().Name, "IPAGothic");
    EXPECT_TRUE(clock->Label1(i).Font().Bold);
    EXPECT_TRUE(clock->Label1(i).Font().Italic);
    EXPECT_EQ(clock->Label1(i).ForeColor(), 0x0000FFu);
  }
  // The size is the clock's own: fitted to its window again, not the 30
  // points of the dialog.
  EXPECT_NE(clock->Label1(0).Font().Size, 30);
  EXPECT_DOUBLE_EQ(clock->Label1(0).Font().Size, clock->msngRowFontSize[0]);
}

}  // namespace
