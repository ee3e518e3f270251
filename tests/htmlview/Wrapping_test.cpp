// Line wrapping: Japanese kinsoku at the right margin, and centred or
// right-aligned text that wraps and breaks like left-aligned text.
#include "htmlview/ViewerFixture.h"

using fakes::ViewerFixture;

namespace {

// Characters are 140 twips wide and lines 280 high at the base size; the
// canvas is 3000 twips wide, so lines wrap at 2700 (19 characters).
using Wrapping = ViewerFixture;

std::string Times(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST_F(Wrapping, JapaneseLinesNeitherStartWithClosingMarksNorEndWithOpeningOnes) {
  back.Move(0, 0, 4900, 3000);  // lines wrap at 4600 twips: 32 characters
  // The 33rd character is "。": the 32nd comes down with it.
  ASSERT_TRUE(ShowBody("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗い"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつか",
                                                  "ぬ。何でも薄暗い"}));
  const std::string a31 = Times("あ", 31), a30 = Times("あ", 30);
  // An opening bracket in the 32nd place goes down to the next line.
  ASSERT_TRUE(ShowBody(a31 + "「い」う"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{a31, "「い」う"}));
  // Two closing marks in a row, small kana and the long vowel mark.
  ASSERT_TRUE(ShowBody(a30 + "い」。う"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{a30, "い」。う"}));
  ASSERT_TRUE(ShowBody(a31 + "きっと"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{a31, "きっと"}));
  ASSERT_TRUE(ShowBody(a31 + "カーテン"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{a31, "カーテン"}));
  // Latin text still wraps by character.
  ASSERT_TRUE(ShowBody(Times("x", 35)));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{Times("x", 32), "xxx"}));
}

TEST_F(Wrapping, AClosingMarkThatCannotBeMovedStaysInTheMargin) {
  back.Move(0, 0, 4900, 3000);
  // "」" starts a piece of its own after a full line: what is before it is
  // drawn already, so it stays at the end of the line, once.
  ASSERT_TRUE(ShowBody("<B>" + Times("あ", 32) + "</B>」」x"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{Times("あ", 32) + "」", "」x"}));
  EXPECT_DOUBLE_EQ(canvas.Find("」")->X, 32 * 140);
  // A line of marks only cannot be broken by the rules: it wraps anyway.
  ASSERT_TRUE(ShowBody(Times("ー", 40)));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{Times("ー", 33), Times("ー", 7)}));
}

TEST_F(Wrapping, CentredAndRightAlignedLinesWrapAtTheMargin) {
  ASSERT_TRUE(ShowBody("<CENTER>" + Times("x", 30) + "</CENTER><P ALIGN=RIGHT>" + Times("y", 25) + "</P>end"));
  // " " + 18 x, 12 x centred; " " + 18 y, 7 y right-aligned.
  ASSERT_EQ(canvas.Copies.size(), 4u);
  const int32_t left[] = {1, 34, 3, 115};
  const int32_t width[] = {19, 12, 19, 7};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(canvas.Copies[k].DstX, left[k]) << k;
    EXPECT_NEAR(canvas.Copies[k].DstW * 15.0, width[k] * 140, 15) << k;
    if (k > 0) {
      EXPECT_GE(canvas.Copies[k].DstY, canvas.Copies[k - 1].DstY + 18) << k;
    }
  }
  EXPECT_GT(canvas.Find("e")->Y / 15, canvas.Copies[3].DstY);
}

TEST_F(Wrapping, ACentredRunThatCannotBeBrokenGoesOnOverSeveralLines) {
  // "x" and the colons after it may not be parted, but "x" may leave "あ":
  // once "あ" stood alone, the run used to be wrapped before "x" again and
  // again, adding empty lines for ever.
  ASSERT_TRUE(ShowBody("<CENTER>あx" + Times(":", 40) + "</CENTER>end"));
  double drawn = 0;
  for (const auto& copy : canvas.Copies) drawn += copy.DstW * 15.0;
  EXPECT_EQ(canvas.Copies.size(), 4u);
  EXPECT_NEAR(drawn, (1 + 1 + 1 + 40) * 140, 4 * 15);
  EXPECT_NE(canvas.Find("e"), nullptr);
}

TEST_F(Wrapping, LineBreaksEndAlignedLinesAndTheLastLineIsShown) {
  ASSERT_TRUE(ShowBody("<CENTER>a<BR>bb</CENTER>c<CENTER>unclosed"));
  ASSERT_EQ(canvas.Copies.size(), 3u);
  // " a" and "bb" are both 280 twips wide: (2700 − 280) / 2 = 1210 twips.
  EXPECT_EQ(canvas.Copies[0].DstX, 81);
  EXPECT_EQ(canvas.Copies[1].DstX, 81);
  EXPECT_EQ(canvas.Copies[0].DstY, 1);
  EXPECT_EQ(canvas.Copies[1].DstY, 20);
  EXPECT_DOUBLE_EQ(canvas.Find("c")->Y, 560);  // below both, not over "bb"
  EXPECT_GT(canvas.Copies[2].DstY, 560 / 15);
}

TEST_F(Wrapping, ALinkWrappedInCentredTextHasASpotOnEachLine) {
  ASSERT_TRUE(ShowBody("<CENTER><A HREF=t>" + Times("z", 30) + "</A></CENTER>."));
  ASSERT_EQ(html.Links().size(), 2u);
  const LinkSpot& first = html.Links()[0];
  const LinkSpot& second = html.Links()[1];
  EXPECT_EQ(second.Target, "t");
  EXPECT_EQ(first.Left, 20 + 140);  // (2700 − 2660) / 2, then the leading space
  EXPECT_EQ(second.Left, 510);
  EXPECT_EQ(second.Top, first.Top + 280);
  EXPECT_EQ(second.Right, 510 + 12 * 140);
}

}  // namespace
