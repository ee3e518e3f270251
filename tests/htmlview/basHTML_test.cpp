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

TEST(FindAttribute, WholeAttributeNamesOutsideValues) {
  const std::u32string h1 = U"H1 STYLE=\"TEXT-ALIGN: CENTER\" CLASS=ALIGN";
  EXPECT_EQ(FindAttribute(h1, U"ALIGN"), std::u32string::npos);
  EXPECT_EQ(FindAttribute(U"P CLASS='A B' ALIGN=RIGHT", U"ALIGN"), 14u);
  EXPECT_EQ(FindAttribute(U"BODY VLINK=RED ALINK=RED LINK=LIME", U"LINK"), 25u);
  EXPECT_EQ(FindAttribute(U"FONT FACE=\"SIZE 2\" SIZE=3", U"SIZE"), 19u);
  EXPECT_EQ(FindAttribute(U"BODY TEXT=\"#000000\"LINK=BLUE", U"LINK"), 19u);  // no space after a quote
  EXPECT_EQ(FindAttribute(U"P ALIGN = CENTER", U"ALIGN"), 2u);  // its value is the caller's affair
  EXPECT_EQ(FindAttribute(U"H2 ALIGN=LEFT", U"ALIGN", 3), 3u);
  EXPECT_EQ(FindAttribute(U"IMG SRC=A HEIGHT=4 WIDTH=2", U"HEIGHT", 19), std::u32string::npos);
  EXPECT_EQ(FindAttribute(U"ALIGN", U"ALIGN"), std::u32string::npos);  // the tag's own name
  // An unclosed quote ends its value at the next blank.
  EXPECT_EQ(FindAttribute(U"P TITLE=\"X ALIGN=CENTER", U"ALIGN"), 11u);
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

TEST(DecodeText, DeclaredCharacterSets) {
  using basQuillet::DecodeText;
  const std::string head = "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=";
  // ISO-8859-1 is read as browsers read it (windows-1252).
  EXPECT_EQ(DecodeText(head + "ISO-8859-1\"></HEAD><BODY>\xA9 J\xE9r\xF4me \x93q\x94"),
            basQuillet::ToChars(head + "ISO-8859-1\"></HEAD><BODY>© Jérôme “q”"));
  const std::string sjis = "\x8E\x9E\x8Cv\x82\xCC\x90\xDD\x92\xE8";
  EXPECT_EQ(DecodeText(head + "Shift_JIS\"><BODY>" + sjis), basQuillet::ToChars(head + "Shift_JIS\"><BODY>時計の設定"));
  EXPECT_EQ(DecodeText("<BODY>" + sjis), U"<BODY>時計の設定");  // undeclared: not UTF-8, so Shift-JIS
  EXPECT_EQ(DecodeText("<meta charset='EUC-JP'><body>\xBB\xFE\xB7\xD7\xA4\xCE\xC0\xDF\xC4\xEA"),
            U"<meta charset='EUC-JP'><body>時計の設定");
  EXPECT_EQ(DecodeText("<meta charset=iso-2022-jp><body>\x1B$B;~7W$N@_Dj\x1B(B."),
            U"<meta charset=iso-2022-jp><body>時計の設定.");
  // A declaration after the body start, or of an unknown set, is not one.
  EXPECT_EQ(DecodeText("<body><meta charset=EUC-JP>\xE6\x99\x82"), U"<body><meta charset=EUC-JP>時");
  EXPECT_EQ(DecodeText("<meta charset=klingon><body>\xE6\x99\x82"), U"<meta charset=klingon><body>時");
  // Byte-order marks win.
  EXPECT_EQ(DecodeText("\xFF\xFE\x42\x66"), U"時");
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF<meta charset=Shift_JIS>\xE6\x99\x82"), U"<meta charset=Shift_JIS>時");
}

TEST(DecodeText, UndecodableBytesKeepTheAsciiAfterThem) {
  using basQuillet::DecodeText;
  // Shift-JIS lead bytes followed by ASCII that cannot follow them: only the lead byte is lost.
  EXPECT_EQ(DecodeText("\x82\xA0\x85<B>\x81" "1"), U"あ\uFFFD<B>\uFFFD1");
  EXPECT_EQ(DecodeText("\x85" "bc\xEB" "d"), U"\uFFFDbc\uFFFDd");  // unassigned pairs
  EXPECT_EQ(DecodeText("\x82\xA0\x82"), U"あ\uFFFD");  // cut at the end
  EXPECT_EQ(DecodeText("<meta charset=EUC-JP><body>\xA4>x"), U"<meta charset=EUC-JP><body>\uFFFD>x");
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
