#include <gtest/gtest.h>

#include "platform/Services.h"

using namespace platform;

namespace {

struct SurfaceTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
    form->Move(0, 0, 40 * 15, 30 * 15);
    form->SetBackColor(RGB(255, 255, 255));
  }
  std::unique_ptr<IForm> form;
};

TEST_F(SurfaceTest, LinesLeaveOutTheirEndPointAndBoxesIncludeBothCorners) {
  form->SetScaleMode(vbPixels);
  form->Line(2, 2, 6, 2, RGB(255, 0, 0));
  EXPECT_EQ(form->GetPixel(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(form->GetPixel(5, 2), RGB(255, 0, 0));
  EXPECT_EQ(form->GetPixel(6, 2), RGB(255, 255, 255));

  form->Box(10, 10, 14, 12, RGB(0, 0, 255));
  EXPECT_EQ(form->GetPixel(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(form->GetPixel(14, 12), RGB(0, 0, 255));
  EXPECT_EQ(form->GetPixel(12, 11), RGB(255, 255, 255));
}

TEST_F(SurfaceTest, TwipsAreFifteenPerPixelAndScaleModeKeepsTheDrawingPosition) {
  EXPECT_EQ(form->ScaleMode(), vbTwips);
  EXPECT_DOUBLE_EQ(form->ScaleWidth(), 600);
  form->SetCurrentX(150);
  form->SetScaleMode(vbPixels);
  EXPECT_DOUBLE_EQ(form->CurrentX(), 10);
  EXPECT_DOUBLE_EQ(form->ScaleWidth(), 40);
  form->Line(15 * 0 + 3, 4, 3, 8, SystemColor(COLOR_BTNSHADOW));
  EXPECT_EQ(form->GetPixel(3, 7), RGB(0x80, 0x80, 0x80));
}

TEST_F(SurfaceTest, FontSizesSnapToWholePixelsAndTextAdvancesTheDrawingPosition) {
  StdFont f;
  f.Name = "IPAPGothic";
  f.Size = 10;
  form->SetFont(f);
  EXPECT_DOUBLE_EQ(form->FontSize(), 9.75);
  const double w = form->TextWidth("12:34");
  EXPECT_GT(w, 0);
  form->Print("12:34");
  EXPECT_DOUBLE_EQ(form->CurrentX(), w);
  form->PrintLine("");
  EXPECT_DOUBLE_EQ(form->CurrentX(), 0);
  EXPECT_DOUBLE_EQ(form->CurrentY(), form->TextHeight("A"));
  EXPECT_DOUBLE_EQ(form->TextHeight("A\nB"), 2 * form->TextHeight("A"));
}

}  // namespace

namespace {

TEST(Fonts, TheDesignFaceResolvesToTheInstalledJapaneseFace) {
  auto form = platform::Controls().CreateForm(platform::FormStyle{"frmFonts", "fonts"});
  platform::StdFont design;  // "ＭＳ Ｐゴシック"
  design.Size = 12;
  form->SetFont(design);
  const double designWidth = form->TextWidth("時計 12:34");
  platform::StdFont ipa = design;
  ipa.Name = "IPAPGothic";
  form->SetFont(ipa);
  EXPECT_EQ(form->TextWidth("時計 12:34"), designWidth);
  EXPECT_GT(designWidth, 0);
}

}  // namespace
