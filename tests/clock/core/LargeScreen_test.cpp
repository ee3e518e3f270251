// The clock on screens of 4K and 8K: sizes and positions beyond 16-bit
// twips (2 184 pixels) fit the rows, are stored and come back at the next
// start. test_clock_core_dpr2 runs these tests again at device pixel ratio 2.
#include <gtest/gtest.h>

#include "ClockFixture.h"
#include "clock/core/basMain.h"
#include "platform/fake/FakeScreen.h"

namespace {

using namespace clocktest;

constexpr double kTwips = 15;

struct LargeScreen : ClockFixture, testing::WithParamInterface<std::pair<int32_t, int32_t>> {
  LargeScreen() : screen(GetParam().first, GetParam().second) {
    screen.Area = platform::PixelRect{0, 0, GetParam().first, GetParam().second - 48};
  }
  platform::FakeScreen screen;
};

TEST_P(LargeScreen, AWideClockFitsItsRowsAndComesBackAtTheNextStart) {
  SettingsStore::MoveSide = 1;
  frmMain& first = MakeClock(LocalEpochMs(2026, 12, 8, 21, 5, 3, 100));
  const double width = (GetParam().first * 2 / 3) * kTwips;  // 2 560 or 5 120 pixels
  const double height = (GetParam().second / 5) * kTwips;    // above the tenth a stored size needs
  first.Form().Move(first.Form().Left(), first.Form().Top(), width, height);
  first.Form_Resize();
  first.Form_Resize();  // the first notification only counts
  EXPECT_TRUE(box.Calls.empty()) << box.Calls.front().Prompt;
  for (int16_t row = 0; row < 2; ++row) {
    const platform::ILabel& label = first.Label1(row);
    EXPECT_GT(first.msngRowFontSize[row], 0) << row;
    EXPECT_LE(label.Left() + label.Width(), first.Form().ScaleWidth()) << row;
    EXPECT_GE(label.Left(), 0) << row;
  }
  const platform::ILabel& top = first.Label1(0);
  EXPECT_TRUE(top.Width() > width / 2 || top.Height() > height / 3) << "the top row fills the window";
  EXPECT_EQ(first.Form().Left() + first.Form().Width(), screen.Area.Right * kTwips) << "docked at the right edge";

  int16_t cancel = 0;
  first.Form_Unload(cancel);
  const std::string stored = store.Values[{"Kelvora", "Settings", "MainWidth"}];
  EXPECT_EQ(stored, std::to_string(static_cast<int32_t>(width)));
  program.ReleaseWindows();

  frmMain& next = MakeClock(LocalEpochMs(2026, 12, 8, 21, 6, 3, 100));
  EXPECT_DOUBLE_EQ(next.Form().Width(), width);
  EXPECT_DOUBLE_EQ(next.Form().Height(), height);
  EXPECT_EQ(next.Form().Left() + next.Form().Width(), screen.Area.Right * kTwips);
}

INSTANTIATE_TEST_SUITE_P(FourKAndEightK, LargeScreen,
                         testing::Values(std::pair{3840, 2160}, std::pair{7680, 4320}));

}  // namespace
