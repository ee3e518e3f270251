#include <cmath>

#include "htmlview/ViewerFixture.h"

using fakes::ViewerFixture;

namespace {

struct Viewer : ViewerFixture {
  Viewer() : installShell(shell) {}
  fakes::RecordingShell shell;
  platform::ScopedService<platform::IShell> installShell;
};

TEST_F(Viewer, AddressesArePendingUntilTheNextDisplayAndGoToTheBrowser) {
  ASSERT_TRUE(ShowBody("page"));
  const std::string file = html.HtmlFile();
  for (const char* address : {"http://example.com/", "HTTP://EXAMPLE.COM/", "ftp://host/f", "mailto:a@b.c",
                              "https://example.com/"}) {
    html.SetHtmlFile(address);
    EXPECT_TRUE(html.DispHTML(false)) << address;
    EXPECT_EQ(shell.Opened.back(), address);
    EXPECT_EQ(html.HtmlFile(), file);
  }
  EXPECT_EQ(dispDone, 1);
  EXPECT_EQ(canvas.AllText(), "page");
}

TEST_F(Viewer, FileNamesSlashesBareNamesAndFailedLoads) {
  html.SetHtmlFile("C:\\Help\\index.htm");
  EXPECT_EQ(html.HtmlFile(), "C:/Help/index.htm");
  html.SetHtmlFile("page2.htm");
  EXPECT_EQ(html.HtmlFile(), "C:/Help/page2.htm");

  const std::string good = Write("good.htm", "<BODY>ok");
  html.SetHtmlFile(good);
  ASSERT_TRUE(html.DispHTML(false));
  html.SetHtmlFile("missing.htm");
  EXPECT_EQ(html.HtmlFile(), (dir / "missing.htm").string());
  EXPECT_FALSE(html.DispHTML(false));
  EXPECT_EQ(html.HtmlFile(), good);
  EXPECT_EQ(dispDone, 1);
}

TEST_F(Viewer, SurfacesOfTheWrongKindAreIgnored) {
  clsHTML other;
  other.SetCanvas(&scroll);
  other.SetWorkCanvas(&work);
  other.SetVScroll(&canvas);
  other.SetBackFrame(&back);
  other.SetHtmlFile(Write("a.htm", "<BODY>a"));
  EXPECT_EQ(other.Canvas(), nullptr);
  EXPECT_FALSE(other.DispHTML(false));
}

TEST_F(Viewer, CurNameStoresTheNameWithoutTheHash) {
  html.SetCurName("#intro");
  EXPECT_EQ(html.CurName(), "#intro");
  html.SetCurName("intro");
  EXPECT_EQ(html.CurName(), "#intro");
}

TEST_F(Viewer, DisplaySequenceShowsTheCanvasAndSizesItToTheContent) {
  bool visibleAtDone = false;
  html.DispDone = [&] {
    ++dispDone;
    visibleAtDone = canvas.Visible();
  };
  ASSERT_TRUE(ShowBody("a<BR>b"));
  EXPECT_TRUE(visibleAtDone);
  EXPECT_EQ(dispDone, 1);
  // Two lines of text and two line ends after them.
  EXPECT_DOUBLE_EQ(canvas.Height(), 3 * 280);
  EXPECT_EQ(html.CanvasHeight(), 280 + 3 * 280 + 8 * 15);
  EXPECT_EQ(html.PlaneText(), "a\r\n\r\nb");
  EXPECT_EQ(back.BackColor(), 0xFFFFFFu);
  // No redraw from the file unless forced or not yet loaded.
  Write("doc.htm", "<BODY>changed</BODY>");
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_EQ(canvas.AllText(), "ab");
  ASSERT_TRUE(html.DispHTML(true));
  EXPECT_EQ(canvas.AllText(), "changed");
}

TEST_F(Viewer, AutoHeightFitsTheFrameWithoutRedrawing) {
  html.SetAutoHeight(true);
  ASSERT_TRUE(ShowBody("a"));
  EXPECT_DOUBLE_EQ(back.Height(), html.CanvasHeight());
  EXPECT_EQ(dispDone, 1);
}

TEST_F(Viewer, HoverEdgesAreStrictAndShowPointerAndTooltip) {
  ASSERT_TRUE(ShowBody("x<A HREF=\"b.htm\"><B>Go</B> on</A>"));
  ASSERT_EQ(html.Links().size(), 1u);
  const LinkSpot& spot = html.Links()[0];
  EXPECT_EQ(spot.Left, 140);
  EXPECT_EQ(spot.Top, 0);
  EXPECT_EQ(spot.Right, 140 + 4 * 140);
  EXPECT_EQ(spot.Bottom, 280);
  EXPECT_EQ(spot.Text, "on");
  EXPECT_EQ(spot.Target, "b.htm");

  canvas.MouseMove(0, 0, 140, 100);
  EXPECT_EQ(html.HotLink(), -1);
  canvas.MouseMove(0, 0, 200, 0);
  EXPECT_EQ(html.HotLink(), -1);
  canvas.MouseMove(0, 0, 200, 100);
  EXPECT_EQ(html.HotLink(), 0);
  EXPECT_EQ(canvas.MousePointer(), platform::vbCustom);
  EXPECT_EQ(canvas.ToolTipText(), "on");
  canvas.MouseMove(0, 0, 700, 100);
  EXPECT_EQ(canvas.MousePointer(), platform::vbDefault);
  EXPECT_EQ(canvas.ToolTipText(), "");
}

TEST_F(Viewer, ButtonsOverLinksAndElsewhere) {
  ASSERT_TRUE(ShowBody("<A HREF=b.htm>Go</A> text"));
  canvas.MouseDown(platform::vbLeftButton, 0, 100, 100);
  canvas.MouseDown(platform::vbRightButton, 0, 100, 100);
  canvas.MouseDown(platform::vbMiddleButton, 0, 100, 100);
  canvas.MouseDown(platform::vbLeftButton, 0, 600, 100);
  EXPECT_EQ(events, (std::vector<std::string>{"click b.htm", "right b.htm", "down 1"}));
}

TEST_F(Viewer, AWrappedLinkGivesTwoSpotsAndCentredLinksCanBeClicked) {
  ASSERT_TRUE(ShowBody(std::string(15, 'x') + "<A HREF=w.htm>abcdefgh</A><CENTER><A HREF=c.htm>mid</A></CENTER>z"));
  ASSERT_EQ(html.Links().size(), 3u);
  EXPECT_EQ(html.Links()[0].Left, 15 * 140);
  EXPECT_EQ(html.Links()[0].Right, 19 * 140);
  EXPECT_EQ(html.Links()[1].Target, "w.htm");
  EXPECT_EQ(html.Links()[1].Left, 0);
  EXPECT_EQ(html.Links()[1].Top, 280);
  EXPECT_EQ(html.Links()[1].Right, 4 * 140);
  // The centred link lies where its line was copied to.
  const LinkSpot& mid = html.Links()[2];
  ASSERT_EQ(canvas.Copies.size(), 1u);
  EXPECT_EQ(mid.Left, 1210);  // (2700 − 4 × 140) / 2 + 140 for the leading space
  EXPECT_GT(mid.Right, mid.Left);
  canvas.MouseDown(platform::vbLeftButton, 0, mid.Left + 10, mid.Top + 10);
  EXPECT_EQ(events, (std::vector<std::string>{"click c.htm"}));
}

TEST_F(Viewer, DisplaysStartAtTheAnchorBeforeTheCurrentOne) {
  const std::string doc =
      "<HTML><BODY>head<A NAME=top>T</A><BR><A NAME=part1>P1</A><BR><A NAME=part2>P2</A><BR>tail</BODY>";
  // Not met yet: the walk from <BODY> finds it with drawing off.
  html.SetHtmlFile(Write("anchors.htm", doc));
  html.SetCurName("part2");
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_EQ(canvas.AllText(), "P2tail");
  ASSERT_EQ(html.Anchors().size(), 3u);
  EXPECT_EQ(html.Anchors()[1].Name, "part1");
  // Known: the walk starts at part1's tag, drawing from part2.
  EXPECT_EQ(doc.substr(static_cast<size_t>(html.Anchors()[1].Position - 1), 13), "<A NAME=part1");
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_EQ(canvas.AllText(), "P2tail");
  EXPECT_TRUE(html.GoBack());
  EXPECT_EQ(html.CurName(), "#part1");
  EXPECT_EQ(canvas.AllText(), "P1P2tail");
  EXPECT_TRUE(html.GoNext());
  EXPECT_EQ(canvas.AllText(), "P2tail");
  // Names are compared with case; a name the document does not have shows
  // the document from its start, and stays the current name.
  html.SetCurName("TOP");
  ASSERT_TRUE(html.DispHTML(false));
  ASSERT_EQ(canvas.AllText(), "headTP1P2tail");
  EXPECT_EQ(canvas.Find("h")->Y, 0);
  EXPECT_EQ(html.CurName(), "#TOP");
  EXPECT_EQ(html.Links().size(), 0u);
}

TEST_F(Viewer, QuotedAnchorNamesKeepTheirSpaces) {
  ASSERT_TRUE(ShowBody("<A NAME=\"my top\">a</A><A NAME = x>b</A>"));
  ASSERT_EQ(html.Anchors().size(), 1u);
  EXPECT_EQ(html.Anchors()[0].Name, "my top");
}

// Scrolling: the canvas moves inside the back frame by whole pixels.
struct Scrolling : ViewerFixture {
  // A document about n lines long.
  void ShowLines(int n) {
    std::string body;
    for (int i = 0; i < n; ++i) body += "l<BR>";
    ASSERT_TRUE(ShowBody(body));
  }
};

TEST_F(Scrolling, ShortDocumentsLeaveTheBarDisabled) {
  ShowLines(3);
  EXPECT_FALSE(scroll.Enabled());
}

TEST_F(Scrolling, RangeStepsAndKeys) {
  ShowLines(200);
  ASSERT_TRUE(scroll.Enabled());
  const int max = static_cast<int>(std::lround((html.CanvasHeight() - back.Height()) / 15.0));
  EXPECT_EQ(scroll.Max(), max);
  EXPECT_EQ(scroll.LargeChange(), max / 10);
  EXPECT_EQ(scroll.SmallChange(), max / 50);
  int16_t key = 40;
  canvas.KeyDown(key, 0);
  EXPECT_EQ(scroll.Value(), max / 50);
  canvas.KeyDown(key, 1);
  EXPECT_EQ(scroll.Value(), max / 50 + max / 10);
  key = 38;
  scroll.KeyDown(key, 1);
  scroll.KeyDown(key, 1);
  EXPECT_EQ(scroll.Value(), 0);
  EXPECT_DOUBLE_EQ(canvas.Top(), 0);
  key = 35;
  canvas.KeyDown(key, 0);
  EXPECT_EQ(scroll.Value(), max);
  EXPECT_DOUBLE_EQ(canvas.Top() + canvas.Height(), back.ScaleHeight());
  key = 40;
  canvas.KeyDown(key, 0);
  EXPECT_EQ(scroll.Value(), max);
  key = 33;  // Page Up and Page Down: the large step
  canvas.KeyDown(key, 0);
  EXPECT_EQ(scroll.Value(), max - max / 10);
  key = 34;
  scroll.KeyDown(key, 0);
  scroll.KeyDown(key, 0);
  EXPECT_EQ(scroll.Value(), max);
  key = 36;
  canvas.KeyDown(key, 0);
  EXPECT_EQ(scroll.Value(), 0);

  // The wheel over the page: three small steps a notch down, a large step
  // with Shift, never beyond the range.
  canvas.MouseWheel(-120, 0);
  EXPECT_EQ(scroll.Value(), 3 * (max / 50));
  EXPECT_DOUBLE_EQ(canvas.Top(), -(canvas.Height() - back.ScaleHeight()) * scroll.Value() / max);
  canvas.MouseWheel(120, platform::vbShiftMask);
  EXPECT_EQ(scroll.Value(), 0);
}

TEST_F(Scrolling, OverflowBeyondSixteenBitsStaysFullyScrollable) {
  ShowLines(2000);  // about 560 000 twips, 37 000 pixels
  ASSERT_TRUE(scroll.Enabled());
  EXPECT_LE(scroll.Max(), 32767);
  EXPECT_GT(scroll.Max(), 16000);
  int16_t key = 35;
  canvas.KeyDown(key, 0);
  EXPECT_DOUBLE_EQ(canvas.Top() + canvas.Height(), back.ScaleHeight());
}

TEST_F(Scrolling, ResizingTheFrameRewrapsAndReturnsToTheTop) {
  ASSERT_TRUE(ShowBody(std::string(30, 'x') + "<BR>" + std::string(200, 'y')));
  int16_t key = 35;
  canvas.KeyDown(key, 0);
  const size_t rowsWide = RowTexts().size();
  html.Move(0, 0, 1500, 3000);
  EXPECT_EQ(dispDone, 2);
  EXPECT_DOUBLE_EQ(canvas.Width(), 1500);
  EXPECT_GT(RowTexts().size(), rowsWide);
  EXPECT_EQ(RowTexts()[0], std::string(8, 'x'));  // (1500 − 300) / 140: 8 characters
  EXPECT_EQ(scroll.Value(), 0);
  EXPECT_DOUBLE_EQ(scroll.Left(), 1500);
}

}  // namespace
