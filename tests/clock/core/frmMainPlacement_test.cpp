// Where the clock sits: the corners of its edge of the work area, the jump
// away from the pointer, dragging, and presses while the settings dialog is
// open. The screen is 1280 × 800 pixels with a taskbar of 40 at the bottom.
#include <gtest/gtest.h>

#include "ClockFixture.h"
#include "clock/core/basMain.h"
#include "platform/fake/FakeScreen.h"
#include "platform/fake/RecordingPopupMenu.h"

namespace {

using namespace clocktest;
using SettingsStore::MoveSide;

constexpr double kTwips = 15;

struct PlacementTest : ClockFixture {
  PlacementTest() { screen.Area = platform::PixelRect{0, 0, 1280, 760}; }
  frmMain& Clock() { return MakeClock(LocalEpochMs(2026, 12, 7, 9, 5, 3, 100)); }
  // The corner the clock occupies now (−1: none).
  int Corner() const {
    const platform::IForm& form = clock->Form();
    const platform::PixelRect& a = screen.Area;
    const bool left = form.Left() == a.Left * kTwips;
    const bool right = form.Left() + form.Width() == a.Right * kTwips;
    const bool top = form.Top() == a.Top * kTwips;
    const bool bottom = form.Top() + form.Height() == a.Bottom * kTwips;
    if (top && right) return 0;
    if (bottom && right) return 1;
    if (bottom && left) return 2;
    if (top && left) return 3;
    return -1;
  }
  // The pointer moves over the clock's frame (not over a row).
  void PointerOver(int16_t shift = 0) { clock->Form().Events.MouseMove(0, shift, 15, 15); }

  platform::FakeScreen screen;
  platform::RecordingPopupMenu menus;
};

TEST_F(PlacementTest, ThePointerMakesTheClockJumpBetweenTheCornersOfItsEdge) {
  const struct {
    int16_t Side;
    std::vector<int> Corners;  // after loading, then after each movement
  } sides[] = {{0, {0, 3, 0, 3}}, {1, {0, 1, 0, 1}}, {2, {0, 1, 2, 1}}, {3, {0, 2, 3, 2}}};
  for (const auto& side : sides) {
    SCOPED_TRACE(side.Side);
    basMain::mintCorner = 0;
    MoveSide = side.Side;
    Clock();
    std::vector<int> corners{Corner()};
    for (int i = 0; i < 3; ++i) {
      PointerOver();
      corners.push_back(Corner());
    }
    EXPECT_EQ(corners, side.Corners);
    PointerOver(platform::vbShiftMask);
    EXPECT_EQ(Corner(), side.Corners.back()) << "with Shift the pointer reaches the clock";
  }
}

TEST_F(PlacementTest, TheBottomCornersSitOnTheTaskbarAndTheWorkAreaMayBeOffset) {
  MoveSide = 1;
  frmMain& clock = Clock();
  PointerOver();
  EXPECT_EQ(clock.Form().Top() + clock.Form().Height(), 760 * kTwips) << "on the taskbar's top edge";
  EXPECT_EQ(screen.AskedFor, &clock.Form()) << "the work area of the clock's own screen";

  // A second screen to the right, with a panel on its top.
  screen.Area = platform::PixelRect{1280, 32, 2560, 1024};
  clock.PlaceClock(false);
  EXPECT_EQ(clock.Form().Left(), 2560 * kTwips - clock.Form().Width());
  EXPECT_EQ(clock.Form().Top() + clock.Form().Height(), 1024 * kTwips);
  EXPECT_TRUE(frmMain::MoveToCorner(clock.Form(), 3, 0));
  EXPECT_EQ(clock.Form().Left(), 1280 * kTwips);
  EXPECT_EQ(clock.Form().Top(), 32 * kTwips);
  EXPECT_TRUE(frmMain::MoveToCorner(clock.Form(), 7, 0)) << "an unknown corner moves nothing";
  EXPECT_EQ(clock.Form().Left(), 1280 * kTwips);
}

TEST_F(PlacementTest, ADraggedClockGoesBackAtTheNextTickUnlessItStaysWhereDropped) {
  MoveSide = 1;
  frmMain& clock = Clock();
  clock.Form().Move(6000, 4500, clock.Form().Width(), clock.Form().Height());
  scheduler.RunFor(600);
  EXPECT_EQ(Corner(), 0);

  MoveSide = 4;
  clock.Form().Move(6000, 4500, clock.Form().Width(), clock.Form().Height());
  scheduler.RunFor(5000);
  PointerOver();
  EXPECT_EQ(clock.Form().Left(), 6000);
  EXPECT_EQ(clock.Form().Top(), 4500);

  int16_t cancel = 0;
  clock.Form_Unload(cancel);
  EXPECT_EQ(clock.Form().Left(), 6000) << "unloading leaves it where it was dropped";
}

TEST_F(PlacementTest, WhileTheSettingsDialogIsOpenTheClockNeitherMovesNorOpensItsMenu) {
  MoveSide = 1;
  frmMain& clock = Clock();
  basMain::mblnSetUpOpen = true;
  PointerOver();
  EXPECT_EQ(Corner(), 0);
  clock.Form().Events.MouseDown(platform::vbRightButton, 0, 15, 15);
  EXPECT_TRUE(menus.Shown.empty());

  basMain::mblnSetUpOpen = false;
  clock.Form().Events.MouseDown(platform::vbRightButton, 0, 15, 15);
  EXPECT_EQ(menus.Shown.size(), 1u);
  clock.Form().Events.MouseDown(platform::vbMiddleButton, 0, 15, 15);
  EXPECT_EQ(menus.Shown.size(), 1u) << "other buttons do nothing";
}

TEST_F(PlacementTest, TheRowsTakePressesButNotPointerMovement) {
  MoveSide = 1;
  frmMain& clock = Clock();
  clock.RelayoutClock();
  const platform::ILabel& top = clock.Label1(0);
  const double x = top.Left() + top.Width() / 2, y = top.Top() + top.Height() / 2;
  clock.Form().Events.MouseMove(0, 0, x, y);
  EXPECT_EQ(Corner(), 0) << "movement over a row is not handled";
  clock.Label1(0).MouseDown(platform::vbRightButton, 0, 30, 30);
  EXPECT_EQ(menus.Shown.size(), 1u) << "a right press on a row opens the menu";
}

}  // namespace
