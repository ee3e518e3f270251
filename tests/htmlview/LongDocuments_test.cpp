// Document shapes whose drawing once grew with the square of their size,
// scaled down: what they show, and that the measuring work stays in
// proportion to the text (bench_htmlview times the full-size shapes).
#include "htmlview/ViewerFixture.h"

using fakes::ViewerFixture;

namespace {

using LongDocuments = ViewerFixture;

std::string Times(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST_F(LongDocuments, DeepListsStayOnTheCanvas) {
  constexpr int kDepth = 300;
  ASSERT_TRUE(ShowBody(Times("<OL><LI>x", kDepth)));
  const auto rows = RowTexts();
  ASSERT_EQ(rows.size(), static_cast<size_t>(kDepth));
  EXPECT_EQ(rows.back(), "　1 . x");
  // Indents stop where a line still has room for eight characters.
  for (const auto& p : canvas.Prints) EXPECT_LE(p.X + 140, 2700) << p.Text;
  EXPECT_LE(canvas.Prints.size(), 6u * kDepth);

  // A long item deep down: its continuation lines carry spacers only up to
  // where lines may start.
  ASSERT_TRUE(ShowBody(Times("<UL>", kDepth) + "<LI>" + Times("y", 200)));
  size_t spacers = 0, ys = 0;
  for (const auto& p : canvas.Prints) {
    spacers += p.Text == "・" && p.Color == 0xFFFFFFu;
    ys += p.Text == "y";
    EXPECT_LE(p.X + 140, 2700) << p.Text;
  }
  EXPECT_EQ(ys, 200u);
  EXPECT_LE(spacers, 20u * 30);
}

TEST_F(LongDocuments, ListsNestedBeyondSixteenBits) {
  // Depths past 32 767 once wrapped round and crashed the drawing.
  ASSERT_TRUE(ShowBody(Times("<OL>", 33000) + "<LI>x" + Times("</OL>", 33001) + "<UL><LI>y"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"　1 . x", "・y"}));
}

TEST_F(LongDocuments, AmpersandsWithoutSemicolonsDrawNothing) {
  ASSERT_TRUE(ShowBody(Times("&", 5000) + "<BR>x"));
  EXPECT_EQ(canvas.AllText(), "x");
  // A semicolon later on still closes the first ampersand's name, tags and all.
  ASSERT_TRUE(ShowBody("a&&&<B>b</B>;c"));
  EXPECT_EQ(canvas.AllText(), "a&&<B>b</B>c");
}

TEST_F(LongDocuments, MeasuringWorkGrowsWithTheText) {
  // Many short pieces.
  ASSERT_TRUE(ShowBody(Times("a<BR>", 3000)));
  EXPECT_EQ(RowTexts().size(), 3000u);
  EXPECT_LT(canvas.MeasuredChars, 20u * 3000);
  // One long piece: each wrap once measured the height of the whole piece.
  canvas.MeasuredChars = 0;
  ASSERT_TRUE(Show("<BODY>\n" + Times(Times("x", 49) + "\n", 400) + "</BODY>"));
  EXPECT_EQ(RowTexts().size(), (400 * 50 + 18) / 19);
  EXPECT_LT(canvas.MeasuredChars, 5u * 400 * 50);
}

}  // namespace
