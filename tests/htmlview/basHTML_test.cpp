#include <gtest/gtest.h>

#include "htmlview/basHTML.h"
#include "htmlview/basQuillet.h"

using namespace basHTML;

namespace {

TEST(ParseColor, NamesAreTheViewersOwnInAnyCase) {
  EXPECT_EQ(ParseColor("RED"), 0x0000FF);
  EXPECT_EQ(ParseColor("Red"), 0x0000FF);
  EXPECT_EQ(ParseColor("green"), 0x00FF00);
  EXPECT_EQ(ParseColor("gray"), 0xC0C0C0);
  EXPECT_EQ(ParseColor("purple"), 0xFF00FF);
  EXPECT_EQ(ParseColor("orange"), 0x0055FF);
  EXPECT_EQ(ParseColor("pink"), 0xCBC0FF);
  EXPECT_EQ(ParseColor("navy"), 0x800000);
  EXPECT_EQ(ParseColor(" red"), -1);  // names match whole
}

TEST(ParseColor, HexadecimalWithOrWithoutHashAndSignedShortForms) {
  EXPECT_EQ(ParseColor("#ff0000"), 0x0000FF);
  EXPECT_EQ(ParseColor("FF0000"), 0x0000FF);
  EXPECT_EQ(ParseColor("#0000FF"), 0xFF0000);
  EXPECT_EQ(ParseColor("#FFFFFF"), 0xFFFFFF);
  EXPECT_EQ(ParseColor("#FF"), 0xFF0000);      // blue 255
  EXPECT_EQ(ParseColor("#FF00"), 0x00FF00);    // n = −256: green 255
  EXPECT_EQ(ParseColor("#FFFF"), 0xFF0000);    // n = −1: blue 255
  EXPECT_EQ(ParseColor("#12345"), 0x452301);   // five digits: 32-bit
  EXPECT_EQ(ParseColor("FFFFFFFF"), 0xFF0000);
  EXPECT_EQ(ParseColor("darkred"), -1);
  EXPECT_EQ(ParseColor("#GG0000"), -1);
  EXPECT_EQ(ParseColor(""), -1);
  EXPECT_EQ(ParseColor("#"), -1);
  EXPECT_EQ(ParseColor("#123456789"), -1);
}

TEST(HtmlSizeToPoints, TextAndHeadingTables) {
  const int16_t text[] = {8, 10, 12, 14, 18, 24, 32};
  const int16_t heading[] = {20, 15, 12, 10, 8, 7, 0};
  for (int16_t s = 1; s <= 7; ++s) {
    EXPECT_EQ(HtmlSizeToPoints(s, false), text[s - 1]) << s;
    EXPECT_EQ(HtmlSizeToPoints(s, true), heading[s - 1]) << s;
  }
  EXPECT_EQ(HtmlSizeToPoints(0, false), 0);
  EXPECT_EQ(HtmlSizeToPoints(8, false), 0);
  EXPECT_EQ(HtmlSizeToPoints(-1, true), 0);
}

TEST(AttributeValue, TakesTheTextAfterTheEqualsSign) {
  EXPECT_EQ(AttributeValue(U"A HREF=b.htm", 0), U"b.htm");
  EXPECT_EQ(AttributeValue(U"A HREF=\"b.htm\" X=1", 0), U"b.htm");
  EXPECT_EQ(AttributeValue(U"A NAME= x", 0), U"");             // a space after "=" gives nothing
  EXPECT_EQ(AttributeValue(U"A NAME", 0), U"");
  EXPECT_EQ(AttributeValue(U"FONT SIZE=3 COLOR=RED", 10), U"RED");
  // A quoted value keeps its spaces; an unclosed quote falls back to the space rule.
  EXPECT_EQ(AttributeValue(U"A HREF=\"my file.htm\"", 0), U"my file.htm");
  EXPECT_EQ(AttributeValue(U"A HREF=\"my file.htm", 0), U"my");
}

TEST(Like, StarAndDigitWildcards) {
  EXPECT_TRUE(Like(U"H1 ALIGN=CENTER", U"H# *"));
  EXPECT_FALSE(Like(U"H1", U"H# *"));
  EXPECT_TRUE(Like(U"H1", U"H#"));
  EXPECT_FALSE(Like(U"HX", U"H#"));
  EXPECT_TRUE(Like(U"!--", U"!--*"));
  EXPECT_TRUE(Like(U"TABLE BORDER=1", U"TABLE *"));
  EXPECT_FALSE(Like(U"TABLE", U"TABLE *"));
  EXPECT_TRUE(Like(U"/H3", U"/H#"));
}

TEST(PrepareHtml, EachLineTrimmedOfSpacesAndEndedWithOneSpace) {
  EXPECT_EQ(PrepareHtml(U"abc\r\ndef"), U"abc def ");
  EXPECT_EQ(PrepareHtml(U"  a b  \n\tc \rd"), U"a b \tc d ");
  EXPECT_EQ(PrepareHtml(U""), U"");
}

TEST(DecodeText, Utf8WithOrWithoutMarkElseShiftJis) {
  EXPECT_EQ(basQuillet::DecodeText("\xEF\xBB\xBF\xE6\x99\x82\xE8\xA8\x88"), U"時計");
  EXPECT_EQ(basQuillet::DecodeText("\xE6\x99\x82\xE8\xA8\x88"), U"時計");
  EXPECT_EQ(basQuillet::DecodeText("\x8E\x9E\x8C\x76 abc"), U"時計 abc");  // Shift-JIS
  EXPECT_EQ(basQuillet::DecodeText("\x82\xA0"), U"あ");
}

TEST(NumericOrZero, NumbersWithSignsAndBlanksElseZero) {
  EXPECT_EQ(basQuillet::NumericOrZero(" 7 "), 7);
  EXPECT_EQ(basQuillet::NumericOrZero("-1"), -1);
  EXPECT_EQ(basQuillet::NumericOrZero("+2"), 2);
  EXPECT_EQ(basQuillet::NumericOrZero("abc"), 0);
  EXPECT_EQ(basQuillet::NumericOrZero("12px"), 0);
  EXPECT_EQ(basQuillet::NumericOrZero(""), 0);
}

}  // namespace
