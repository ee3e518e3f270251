#include "htmlview/ViewerFixture.h"

using fakes::ViewerFixture;

namespace {

// Characters are 140 twips wide and lines 280 high at the base size; the
// canvas is 3000 twips wide, so lines wrap at 2700.
using Layout = ViewerFixture;

TEST_F(Layout, PiecesLoseSpacesNextToTagsAndEntitiesKeepThem) {
  ASSERT_TRUE(ShowBody("A <B>bold</B> word<B>x</B>&nbsp;y"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Aboldwordx y"}));
  EXPECT_TRUE(canvas.Find("b")->Font.Bold);
  EXPECT_FALSE(canvas.Find("w")->Font.Bold);
  EXPECT_EQ(dispDone, 1);
}

TEST_F(Layout, EntitiesKnownUnknownCaseSensitiveAndLoneAmpersand) {
  ASSERT_TRUE(ShowBody("&lt;B&gt;|&GT;|&copy;|a & b;|c&d"));
  // "& b" up to the next ";" is an unknown entity; the last "&" has no ";".
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"<B>|GT|copy|a b|cd"}));
  // Each entity's text reaches the plain text once.
  EXPECT_EQ(html.PlaneText(), "<B>|GT|copy|a b|cd");
}

TEST_F(Layout, TextAfterTheLastTagIsDrawnCharacterByCharacter) {
  ASSERT_TRUE(Show("<BODY>x<BR> a b"));
  // Line ends in the source became spaces; the tail keeps its spaces.
  EXPECT_EQ(RowTexts().back(), " a b ");
}

TEST_F(Layout, BodyIsRequiredAndAnUnclosedTagStopsTheWalk) {
  EXPECT_FALSE(Show("<HTML>text</HTML>"));
  EXPECT_EQ(dispDone, 1);
  EXPECT_TRUE(canvas.Prints.empty());
  EXPECT_FALSE(Show("<body bgcolor=white>ok <B"));
  EXPECT_EQ(canvas.AllText(), "ok");
  EXPECT_EQ(dispDone, 2);
  EXPECT_TRUE(Show("<body bgcolor=white>ok"));
}

TEST_F(Layout, TagsAreRecognisedWholeInTheirOrder) {
  ASSERT_TRUE(ShowBody("a<TABLE>b<TABLE BORDER=1>c<p>d<P CLASS=x>e"));
  // <TABLE> matches nothing; a table start and paragraphs break lines.
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"ab", "c", "d", "e"}));
  // "P *" adds half a line of space.
  const auto rows = Rows();
  auto it = rows.begin();
  std::advance(it, 3);
  EXPECT_DOUBLE_EQ(it->first, 3 * 280 + 140);
}

TEST_F(Layout, CommentsAndTheEndOfTopicMarker) {
  ASSERT_TRUE(ShowBody("a<!-- x > y -->b<!-- quillet.endoftopic -->c"));
  EXPECT_EQ(canvas.AllText(), "ay -->b");
  html.SetEnableDispEnd(false);
  ASSERT_TRUE(html.DispHTML(true));
  EXPECT_EQ(canvas.AllText(), "ay -->bc");
}

TEST_F(Layout, TextWrapsByCharacterAtTheRightMargin) {
  ASSERT_TRUE(ShowBody(std::string(25, 'x')));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{std::string(19, 'x'), std::string(6, 'x')}));
  EXPECT_DOUBLE_EQ(canvas.Prints[19].X, 0);
  EXPECT_DOUBLE_EQ(canvas.Prints[19].Y, 280);
}

TEST_F(Layout, BulletsAndInvisibleSpacersKeepContinuationLinesAligned) {
  ASSERT_TRUE(ShowBody("<UL><LI>one<BR>two</UL>"));
  const auto* bullet = canvas.Find("・");
  ASSERT_NE(bullet, nullptr);
  EXPECT_DOUBLE_EQ(bullet->X, 300);
  EXPECT_EQ(bullet->Color, 0u);
  EXPECT_DOUBLE_EQ(canvas.Find("o")->X, 440);
  const auto* two = canvas.Find("t");
  EXPECT_DOUBLE_EQ(two->X, 440);
  // The spacer before "two" is a bullet in the background colour.
  int spacers = 0;
  for (const auto& p : canvas.Prints)
    if (p.Text == "・" && p.Y == two->Y && p.X == 300 && p.Color == 0xFFFFFFu) ++spacers;
  EXPECT_EQ(spacers, 1);
}

TEST_F(Layout, NestedListContinuationHasOneSpacerPerLevel) {
  ASSERT_TRUE(ShowBody("<UL><LI>a<UL><LI>b<BR>c</UL></UL>"));
  EXPECT_DOUBLE_EQ(canvas.Find("b")->X, 740);
  EXPECT_DOUBLE_EQ(canvas.Find("c")->X, 880);
}

TEST_F(Layout, NumberedItemsShowTheirLastTwoDigits) {
  std::string items;
  for (int i = 1; i <= 123; ++i) items += "<LI>i";
  ASSERT_TRUE(ShowBody("<OL>" + items + "</OL><OL><LI>again</OL>"));
  const auto rows = RowTexts();
  EXPECT_EQ(rows[0], "　1 . i");
  EXPECT_EQ(rows[9], "10 . i");
  EXPECT_EQ(rows[122], "23 . i");
  EXPECT_EQ(rows[123], "　1 . again");  // a new list counts from 1 again
}

TEST_F(Layout, CentredLinesAreCopiedIntoPlaceAndTheLastOneIsShownToo) {
  ASSERT_TRUE(ShowBody("<P ALIGN=CENTER>Title</P>Body<CENTER>End</CENTER>"));
  ASSERT_EQ(canvas.Copies.size(), 2u);
  // " Title" is 6 characters: (3000 − 300 − 840) / 2 = 930 twips = 62 pixels.
  EXPECT_EQ(canvas.Copies[0].DstX, 62);
  EXPECT_EQ(canvas.Find("B")->X, 0);
  // " End": (2700 − 560) / 2 = 1070 twips, rounded to 71 pixels.
  EXPECT_EQ(canvas.Copies[1].DstX, 71);
  EXPECT_EQ(html.PlaneText(), " Title\r\nBody End");
}

TEST_F(Layout, RightAlignmentAndAlignmentThatStaysUntilReset) {
  ASSERT_TRUE(ShowBody("<P ALIGN=RIGHT>ab<P>cd</P>ef"));
  // "<P>" does not reset the alignment; its line break ends the aligned line
  // " ab" (3000 − 420 − 300 = 2280 twips), and "cd" is placed on the next
  // line by its own width (3000 − 280 − 300 = 2420 twips).
  ASSERT_EQ(canvas.Copies.size(), 2u);
  EXPECT_EQ(canvas.Copies[0].DstX, 152);
  EXPECT_EQ(canvas.Copies[1].DstX, 161);
  EXPECT_EQ(canvas.Copies[0].DstY, 10);  // 140 twips (half a line) + 1 pixel
  EXPECT_EQ(canvas.Copies[1].DstY, 29);  // one line (280 twips) further down
  EXPECT_DOUBLE_EQ(canvas.Find("e")->X, 0);
}

TEST_F(Layout, FontColoursAndSizesAndTheirReset) {
  ASSERT_TRUE(ShowBody("<FONT COLOR=red>a<FONT SIZE=5>b</FONT>c<FONT SIZE=+1>d</FONT><FONT SIZE=-1>e</FONT>"));
  EXPECT_EQ(canvas.Find("a")->Color, 0x0000FFu);
  EXPECT_DOUBLE_EQ(canvas.Find("a")->Font.Size, 14);
  EXPECT_EQ(canvas.Find("b")->Color, 0x0000FFu);
  EXPECT_DOUBLE_EQ(canvas.Find("b")->Font.Size, 18);
  EXPECT_EQ(canvas.Find("c")->Color, 0u);
  EXPECT_DOUBLE_EQ(canvas.Find("c")->Font.Size, 14);
  EXPECT_DOUBLE_EQ(canvas.Find("d")->Font.Size, 18);
  EXPECT_DOUBLE_EQ(canvas.Find("e")->Font.Size, 12);
}

TEST_F(Layout, BaseFontAndHeadings) {
  ASSERT_TRUE(ShowBody("<BASEFONT SIZE=2>a<FONT SIZE=+1>b</FONT><H1>c</H1>d<FONT SIZE=6><H5>e</H5>f"));
  EXPECT_DOUBLE_EQ(canvas.Find("a")->Font.Size, 14);  // the current font is not changed
  EXPECT_DOUBLE_EQ(canvas.Find("b")->Font.Size, 12);
  EXPECT_DOUBLE_EQ(canvas.Find("c")->Font.Size, 20);
  EXPECT_TRUE(canvas.Find("c")->Font.Bold);
  EXPECT_DOUBLE_EQ(canvas.Find("d")->Font.Size, 10);
  EXPECT_FALSE(canvas.Find("d")->Font.Bold);
  EXPECT_DOUBLE_EQ(canvas.Find("e")->Font.Size, 8);
  EXPECT_FALSE(canvas.Find("e")->Font.Bold);
  EXPECT_DOUBLE_EQ(canvas.Find("f")->Font.Size, 10);  // </H5> restores the base size
}

TEST_F(Layout, BodyColoursApplyToTextBackgroundAndLinks) {
  ASSERT_TRUE(Show("<HTML><BODY BGCOLOR=#000000 TEXT=white LINK=lime>t<A HREF=x>l</A></BODY>"));
  EXPECT_EQ(canvas.BackColor(), 0u);
  EXPECT_EQ(canvas.Find("t")->Color, 0xFFFFFFu);
  EXPECT_EQ(canvas.Find("l")->Color, 0x00FF00u);
  EXPECT_TRUE(canvas.Find("l")->Font.Underline);
}

TEST_F(Layout, MissingImageDrawsACrossedBoxOnlyWithBothSizes) {
  ASSERT_TRUE(ShowBody("a<IMG SRC=\"x.gif\" WIDTH=32 HEIGHT=32>b<IMG SRC=y.gif WIDTH=10>"));
  ASSERT_EQ(canvas.Drawings.size(), 3u);
  EXPECT_EQ(canvas.Drawings[0].Kind, "box");
  EXPECT_DOUBLE_EQ(canvas.Drawings[0].X1, 140);
  EXPECT_DOUBLE_EQ(canvas.Drawings[0].X2, 140 + 480);
  EXPECT_DOUBLE_EQ(canvas.Drawings[0].Y2, 480);
  EXPECT_EQ(canvas.Drawings[2].Kind, "line");
  EXPECT_DOUBLE_EQ(canvas.Drawings[2].X1, 620);
  EXPECT_DOUBLE_EQ(canvas.Drawings[2].Y2, 480);
  EXPECT_DOUBLE_EQ(canvas.Find("b")->X, 140);
  EXPECT_DOUBLE_EQ(canvas.Find("b")->Y, 480);
}

TEST_F(Layout, ImagesAreCopiedOrStretchedAndTextGoesOnBelowThem) {
  work.Pictures[(dir / "pic.png").string()] = {40, 60};
  work.Pictures[(dir / "sub/p2.png").string()] = {8, 8};
  ASSERT_TRUE(ShowBody("<IMG SRC=pic.png>after<IMG SRC=\"sub\\p2.png\" WIDTH=16 HEIGHT=24>z"));
  ASSERT_EQ(canvas.Copies.size(), 2u);
  EXPECT_EQ(canvas.Copies[0].DstX, 0);
  EXPECT_EQ(canvas.Copies[0].DstY, 1);
  EXPECT_EQ(canvas.Copies[0].DstW, 40);
  EXPECT_EQ(canvas.Copies[0].DstH, 60);
  EXPECT_DOUBLE_EQ(canvas.Find("a")->Y, 61 * 15);  // not over the image
  EXPECT_EQ(canvas.Copies[1].DstW, 16);
  EXPECT_EQ(canvas.Copies[1].DstH, 24);
  EXPECT_EQ(canvas.Copies[1].SrcW, 8);
}

TEST_F(Layout, HorizontalRuleSpansTheCanvasInBlack) {
  ASSERT_TRUE(ShowBody("<FONT COLOR=red>a<HR>b"));
  ASSERT_EQ(canvas.Drawings.size(), 1u);
  const auto& rule = canvas.Drawings[0];
  EXPECT_EQ(rule.Color, 0u);
  EXPECT_DOUBLE_EQ(rule.X1, 0);
  EXPECT_DOUBLE_EQ(rule.X2, 3000);
  EXPECT_DOUBLE_EQ(rule.Y1, 280);
  EXPECT_DOUBLE_EQ(canvas.Find("b")->Y, 560);  // the position at the rule's end wraps
}

TEST_F(Layout, MalformedAttributesStopTheDrawingButStillEndTheDisplay) {
  const char* bodies[] = {"a<P ALIGN=>b",          "a<H2 ALIGN= CENTER>b", "a<BASEFONT FACE=x>b",
                          "a<BASEFONT SIZE=>b",    "a<BODY BGCOLOR=darkred>b", "a<BODY TEXT=>b",
                          "a<FONT COLOR=#GG>b",    "a<FONT SIZE=>b",       "a<FONT SIZE=9>b"};
  int n = 0;
  for (const char* body : bodies) {
    EXPECT_FALSE(ShowBody(body)) << body;
    EXPECT_EQ(dispDone, ++n);
    EXPECT_EQ(canvas.AllText(), "a") << body;
  }
  // A drawing that stopped early reads the file again next time.
  EXPECT_FALSE(html.DispHTML(false));
}

TEST_F(Layout, FontScaleAppliesToTheNextDisplay) {
  ASSERT_TRUE(ShowBody("a"));
  html.SetFontSize(1);
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_NEAR(canvas.Find("a")->Font.Size, 11.2, 1e-4);
  html.SetFontSize(5);
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_NEAR(canvas.Find("a")->Font.Size, 11.2, 1e-4);
}

}  // namespace
