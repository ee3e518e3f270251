#include "clock/widgets/bas3DDraw.h"

#include <gtest/gtest.h>

#include <vector>

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
    frame = Controls().CreateFrame(*form, "Frame1");
    frame->Move(0, 0, 110 * 15, 50 * 15);
  }
  // A dark horizontal line from pixel 10 to 100 at pixel 20.
  std::unique_ptr<ILine> MakeLine(IControl& container, int16_t index) {
    auto line = Controls().CreateLine(container, "Line1", index);
    line->SetEnds(150, 300, 1500, 300);
    line->SetBorderColor(kDark);
    return line;
  }
  bool SurfaceUntouched() const {
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x)
        if (form->GetPixel(x, y) != kClear) return false;
    return true;
  }

  std::unique_ptr<IForm> form;
  std::unique_ptr<IFrame> frame;
};

TEST_F(EtchedLineTest, HiddenLinesAndLinesOutsideAControlArrayInAFrameStayAsTheyAre) {
  auto hidden = MakeLine(*form, 0);
  hidden->SetVisible(false);
  auto single = MakeLine(*frame, -1);
  for (ILine* line : {hidden.get(), single.get()}) {
    EXPECT_FALSE(bas3DDraw::DrawEtchedLine(*line));
    EXPECT_EQ(line->BorderColor(), kDark);
  }
  EXPECT_EQ(hidden->Element(1), nullptr);
  EXPECT_TRUE(SurfaceUntouched());
}

TEST_F(EtchedLineTest, InAFrameAWhiteElementLiesOnePixelLowerAndOnePixelLonger) {
  auto line = MakeLine(*frame, 0);
  ASSERT_TRUE(bas3DDraw::DrawEtchedLine(*line));
  EXPECT_EQ(line->BorderColor(), SystemColor(COLOR_BTNSHADOW));
  EXPECT_DOUBLE_EQ(line->Y1(), 300);
  ILine* white = line->Element(1);
  ASSERT_NE(white, nullptr);
  EXPECT_EQ(white->Container(), frame.get());
  EXPECT_EQ(white->BorderColor(), kWhite);
  EXPECT_TRUE(white->Visible());
  EXPECT_EQ(std::vector<double>({white->X1(), white->Y1(), white->X2(), white->Y2()}),
            std::vector<double>({150, 315, 1515, 315}));
  EXPECT_TRUE(SurfaceUntouched());
}

TEST_F(EtchedLineTest, OnAFormTheWhiteLineIsDrawnOnTheSurfaceInEitherScaleMode) {
  auto line = MakeLine(*form, -1);
  for (int16_t mode : {vbTwips, vbPixels}) {
    SCOPED_TRACE(mode);
    form->Cls();
    form->SetScaleMode(mode);
    form->SetDrawWidth(3);
    ASSERT_TRUE(bas3DDraw::DrawEtchedLine(*line));
    EXPECT_EQ(line->BorderColor(), SystemColor(COLOR_BTNSHADOW));
    EXPECT_EQ(form->DrawWidth(), 1);
    for (int x = 10; x <= 100; ++x) ASSERT_EQ(form->GetPixel(x, 21), kWhite) << x;
    EXPECT_EQ(form->GetPixel(9, 21), kClear);
    EXPECT_EQ(form->GetPixel(101, 21), kClear);
    EXPECT_EQ(form->GetPixel(50, 20), kClear);
    EXPECT_EQ(form->GetPixel(50, 22), kClear);
  }
  // Below a wider line.
  form->SetScaleMode(vbTwips);
  form->Cls();
  line->SetBorderWidth(2);
  ASSERT_TRUE(bas3DDraw::DrawEtchedLine(*line));
  EXPECT_EQ(form->GetPixel(50, 22), kWhite);
  EXPECT_EQ(form->GetPixel(50, 21), kClear);
}

}  // namespace
