#include <gtest/gtest.h>

#include "htmlview/clsGraphicMethod.h"
#include "platform/Services.h"

using namespace platform;

namespace {

struct GraphicMethod : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
    form->Move(0, 0, 300 * 15, 200 * 15);
    box = Controls().CreatePictureBox(*form, "Picture1");
    box->Move(0, 0, 300 * 15, 200 * 15);
    box->SetBackColor(RGB(255, 255, 255));
    box->SetForeColor(RGB(0, 0, 0));
    helper.SetCanvas(box.get());
  }
  bool Inked(int left, int top, int right, int bottom) const {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (box->GetPixel(x, y) != RGB(255, 255, 255)) return true;
    return false;
  }
  std::unique_ptr<IForm> form;
  std::unique_ptr<IPictureBox> box;
  clsGraphicMethod helper;
};

TEST_F(GraphicMethod, PositionsAreKeptInPixelsAndShownInTwips) {
  helper.SetCurrentX(150);
  EXPECT_EQ(helper.CurrentX(), 150);
  helper.SetCurrentX(157);  // 10.47 pixels: rounded to 10
  EXPECT_EQ(helper.CurrentX(), 150);
  helper.SetCurrentY(30);
  EXPECT_EQ(helper.CurrentY(), 30);
}

TEST_F(GraphicMethod, JapaneseTextIsMeasuredAndDrawnWhole) {
  const int32_t w = helper.TextWidth("時計の設定");
  EXPECT_GT(w, helper.TextWidth("時計"));
  EXPECT_EQ(w % 15, 0);
  EXPECT_FALSE(helper.PrintNoCrLf("時計の設定"));
  EXPECT_EQ(helper.CurrentX(), w);
  EXPECT_TRUE(Inked(0, 0, w / 15, 20));
  // The surface's own position is not moved.
  EXPECT_DOUBLE_EQ(box->CurrentX(), 0);
}

TEST_F(GraphicMethod, AnEmptyLineDrawsNothingButStartsANewLine) {
  helper.SetCurrentX(300);
  EXPECT_FALSE(helper.PrintWithCrLf(""));
  EXPECT_EQ(helper.CurrentX(), 0);
  EXPECT_EQ(helper.CurrentY(), helper.TextHeight(""));
  EXPECT_FALSE(Inked(0, 0, 300, 200));
  EXPECT_FALSE(helper.Syncro());
}

}  // namespace
