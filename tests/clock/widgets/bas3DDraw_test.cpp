#include "clock/widgets/bas3DDraw.h"

#include <gtest/gtest.h>

#include "platform/Services.h"

using namespace platform;

namespace {

constexpr OleColor kClear = RGB(0x12, 0x34, 0x56);
constexpr OleColor kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr OleColor kDark = RGB(0x20, 0x20, 0x20);

struct EtchedLineTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
    form->Move(0, 0, 120 * 15, 60 * 15);
    form->SetBackColor(kClear);
  }
  // A horizontal line from pixel x1 to x2 at pixel y.
  static void Place(ILine& line, int x1, int x2, int y) {
    line.SetEnds(x1 * 15, y * 15, x2 * 15, y * 15);
    line.SetBorderColor(kDark);
  }
  bool SurfaceUntouched() const {
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x)
        if (form->GetPixel(x, y) != kClear) return false;
    return true;
  }

  std::unique_ptr<IForm> form;
};

TEST_F(EtchedLineTest, HiddenLineIsLeftAlone) {
  auto line = Controls().CreateLine(*form, "Line1", 0);
  Place(*line, 10, 100, 20);
  line->SetVisible(false);
  EXPECT_FALSE(bas3DDraw::DrawEtchedLine(*line));
  EXPECT_EQ(line->BorderColor(), kDark);
  EXPECT_EQ(line->Element(1), nullptr);
  EXPECT_TRUE(SurfaceUntouched());
}

TEST_F(EtchedLineTest, InAFrameAWhiteElementLiesOnePixelLowerAndLonger) {
  auto frame = Controls().CreateFrame(*form, "Frame1");
  frame->Move(0, 0, 110 * 15, 50 * 15);
  auto line = Controls().CreateLine(*frame, "Line1", 0);
  Place(*line, 10, 100, 20);
  ASSERT_TRUE(bas3DDraw::DrawEtchedLine(*line));

  EXPECT_EQ(line->BorderColor(), SystemColor(COLOR_BTNSHADOW));
  ILine* white = line->Element(1);
  ASSERT_NE(white, nullptr);
  EXPECT_EQ(white->Container(), frame.get());
  EXPECT_EQ(white->BorderColor(), kWhite);
  EXPECT_TRUE(white->Visible());
  EXPECT_DOUBLE_EQ(white->X1(), 10 * 15);
  EXPECT_DOUBLE_EQ(white->X2(), 101 * 15);
  EXPECT_DOUBLE_EQ(white->Y1(), 21 * 15);
  EXPECT_DOUBLE_EQ(white->Y2(), 21 * 15);
  // The given line itself is unchanged in place.
  EXPECT_DOUBLE_EQ(line->Y1(), 20 * 15);
  EXPECT_DOUBLE_EQ(line->X2(), 100 * 15);
  EXPECT_TRUE(SurfaceUntouched());
}

TEST_F(EtchedLineTest, InAFrameOutsideAControlArrayNothingChanges) {
  auto frame = Controls().CreateFrame(*form, "Frame1");
  auto line = Controls().CreateLine(*frame, "Line2");
  Place(*line, 10, 100, 20);
  EXPECT_FALSE(bas3DDraw::DrawEtchedLine(*line));
  EXPECT_EQ(line->BorderColor(), kDark);
}

TEST_F(EtchedLineTest, OnAFormTheWhiteLineIsDrawnOnTheSurfaceInEitherScaleMode) {
  auto line = Controls().CreateLine(*form, "Line3");
  for (int16_t mode : {vbTwips, vbPixels}) {
    SCOPED_TRACE(mode);
    form->Cls();
    form->SetScaleMode(mode);
    form->SetForeColor(kDark);
    form->SetDrawWidth(3);
    Place(*line, 10, 100, 20);
    ASSERT_TRUE(bas3DDraw::DrawEtchedLine(*line));
    EXPECT_EQ(line->BorderColor(), SystemColor(COLOR_BTNSHADOW));
    EXPECT_EQ(form->ForeColor(), kWhite);
    EXPECT_EQ(form->DrawWidth(), 1);
    for (int x = 10; x <= 100; ++x) ASSERT_EQ(form->GetPixel(x, 21), kWhite) << x;
    EXPECT_EQ(form->GetPixel(9, 21), kClear);
    EXPECT_EQ(form->GetPixel(101, 21), kClear);
    EXPECT_EQ(form->GetPixel(50, 20), kClear);
    EXPECT_EQ(form->GetPixel(50, 22), kClear);
  }
  // A wider line puts the white line below its whole width.
  form->SetScaleMode(vbTwips);
  form->Cls();
  line->SetBorderWidth(2);
  ASSERT_TRUE(bas3DDraw::DrawEtchedLine(*line));
  EXPECT_EQ(form->GetPixel(50, 22), kWhite);
  EXPECT_EQ(form->GetPixel(50, 21), kClear);
}

}  // namespace
