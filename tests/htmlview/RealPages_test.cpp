// Markup as ordinary help pages write it: unbalanced lists, items outside
// lists, style attributes, tags broken over source lines, and jumps to
// anchors a page does not have.
#include "htmlview/ViewerFixture.h"

using fakes::ViewerFixture;

namespace {

// Characters are 140 twips wide and lines 280 high at the base size.
using RealPages = ViewerFixture;

TEST_F(RealPages, ClosingTagsWithoutTheirListNeverIndentLeftOfTheCanvas) {
  // "UL TYPE=disc" is not "UL": its items stand outside any list.
  std::string body;
  for (int i = 0; i < 3; ++i) body += "<UL TYPE=disc><LI>a</UL>";
  ASSERT_TRUE(ShowBody(body + "After three lists</BLOCKQUOTE></DD></OL>x<BLOCKQUOTE>y"));
  for (const auto& p : canvas.Prints) EXPECT_GE(p.X, 0) << p.Text;
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"a", "a", "aAfter three lists", "xy"}));
  EXPECT_DOUBLE_EQ(canvas.Find("A")->X, 140);
  EXPECT_DOUBLE_EQ(canvas.Find("x")->X, 0);

  // A stray list closer inside a quotation leaves the quotation's indent.
  ASSERT_TRUE(ShowBody("<BLOCKQUOTE>q<UL TYPE=square><LI>i</UL>r<BR>s</BLOCKQUOTE>t<BR>u"));
  EXPECT_DOUBLE_EQ(canvas.Find("s")->X, 300);
  EXPECT_DOUBLE_EQ(canvas.Find("u")->X, 0);
}

TEST_F(RealPages, AnItemOutsideAListStartsALineOfItsOwn) {
  ASSERT_TRUE(ShowBody("<BLOCKQUOTE><LI>a<LI>b</BLOCKQUOTE>"));
  const auto* a = canvas.Find("a");
  const auto* b = canvas.Find("b");
  ASSERT_TRUE(a && b);
  EXPECT_DOUBLE_EQ(a->X, 300);
  EXPECT_DOUBLE_EQ(b->X, 300);
  EXPECT_DOUBLE_EQ(b->Y, a->Y + 280);
  EXPECT_EQ(html.PlaneText(), "\r\na\r\nb");
}

TEST_F(RealPages, AttributeKeywordsAreWholeNamesNotPartsOfOtherAttributes) {
  // "ALIGN" inside a style value used to stop the walk for good.
  ASSERT_TRUE(ShowBody("<H1 STYLE=\"text-align: center\">T</H1><P>never drawn"));
  EXPECT_EQ(canvas.AllText(), "Tnever drawn");
  EXPECT_TRUE(canvas.Copies.empty());
  ASSERT_TRUE(ShowBody("<P CLASS=\"a b\" ALIGN=CENTER>c</P>"));
  EXPECT_EQ(canvas.Copies.size(), 1u);

  // VLINK before LINK, a SIZE inside FACE, a WIDTH inside ALT.
  ASSERT_TRUE(Show("<BODY VLINK=red TEXT=navy LINK=lime><FONT FACE=\"size\" SIZE=5>s</FONT>"
                   "<A HREF=x>l</A><IMG SRC=\"none.gif\" ALT=\"width=3\" WIDTH=32 HEIGHT=32>"));
  EXPECT_EQ(canvas.Find("l")->Color, 0x00FF00u);
  EXPECT_EQ(canvas.Find("s")->Color, 0x800000u);
  EXPECT_DOUBLE_EQ(canvas.Find("s")->Font.Size, 18);
  ASSERT_EQ(canvas.Drawings.size(), 3u);
  EXPECT_DOUBLE_EQ(canvas.Drawings[0].X2 - canvas.Drawings[0].X1, 32 * 15);

  // A real ALIGN with an empty value still stops the walk.
  EXPECT_FALSE(ShowBody("a<P STYLE=x ALIGN=>b"));
  EXPECT_EQ(canvas.AllText(), "a");
}

TEST_F(RealPages, TagsBrokenOverSourceLinesAreRecognised) {
  // Line ends inside tags reach the scanner as spaces before ">".
  ASSERT_TRUE(Show("<HTML><BODY><A HREF=\"x.htm\">link</A\n>after<H1\n>Head</H1\n>body<DL><DT\n>term</DL></BODY>"));
  EXPECT_EQ(html.Links().size(), 1u);
  EXPECT_EQ(canvas.Find("a")->Color, 0u);
  EXPECT_FALSE(canvas.Find("a")->Font.Underline);
  EXPECT_DOUBLE_EQ(canvas.Find("H")->Font.Size, 20);
  EXPECT_DOUBLE_EQ(canvas.Find("b")->Font.Size, 14);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"linkafter", "Head", "body", "term"}));
  // Spaces inside a tag's name still make it another tag.
  ASSERT_TRUE(ShowBody("a<TABLE >b<P >c"));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"ab", "c"}));
}

TEST_F(RealPages, AJumpToAMissingAnchorShowsTheDocumentFromItsStart) {
  const std::string doc = "<HTML><BODY BGCOLOR=#000080 TEXT=white>top<A HREF=y>l</A><A NAME=s1>s</A></BODY>";
  html.SetHtmlFile(Write("jump.htm", doc));
  html.SetCurName("#nowhere");
  ASSERT_TRUE(html.DispHTML(false));
  ASSERT_EQ(canvas.AllText(), "topls");
  EXPECT_EQ(html.PlaneText(), "topls");
  EXPECT_EQ(canvas.BackColor(), 0x800000u);  // the body's colours apply
  EXPECT_EQ(canvas.Find("t")->Color, 0xFFFFFFu);
  ASSERT_EQ(html.Links().size(), 1u);  // recorded once, by the drawing
  EXPECT_DOUBLE_EQ(html.Links()[0].Left, 3 * 140);
  EXPECT_EQ(dispDone, 1);
  EXPECT_EQ(html.Anchors().size(), 1u);
}

}  // namespace
