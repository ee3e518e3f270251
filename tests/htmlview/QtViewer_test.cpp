// The viewer on the real platform surfaces, with the sample help pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "htmlview/clsHTML.h"
#include "platform/Services.h"

using namespace platform;

namespace {

struct QtViewer : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmHTMLHelp", "", vbSizable, false, false});
    form->Move(0, 0, 700 * 15, 500 * 15);
    back = Controls().CreatePictureBox(*form, "Picture1");
    back->Move(0, 0, 600 * 15, 400 * 15);
    canvas = Controls().CreatePictureBox(*back, "Picture3");
    work = Controls().CreatePictureBox(*form, "Picture2");
    scroll = Controls().CreateVScrollBar(*form, "VScroll1");
    html.SetCanvas(canvas.get());
    html.SetWorkCanvas(work.get());
    html.SetVScroll(scroll.get());
    html.SetBackFrame(back.get());
    html.DispDone = [this] { ++dispDone; };
    html.LinkClick = [this](const std::string& href, int16_t&) { clicked = href; };
  }
  void TearDown() override { html.SetHtmlFile(""); }

  bool ShowBody(const std::string& body) {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    const auto dir = std::filesystem::path(tmp ? tmp : "/tmp") / "qt";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "page.htm", std::ios::binary) << "<HTML><BODY>" << body << "</BODY></HTML>";
    html.SetHtmlFile((dir / "page.htm").string());
    return html.DispHTML(true);
  }
  // The bands of pixel rows that hold ink in columns [x0, x1), as
  // (first row, last row), and the leftmost inked column in each band.
  struct Band {
    int First, Last, Left;
  };
  std::vector<Band> InkBands(int x0, int x1) const {
    std::vector<Band> bands;
    const OleColor paper = canvas->BackColor();
    const int rows = static_cast<int>(canvas->Height() / 15);
    for (int y = 0; y < rows; ++y) {
      int left = -1;
      for (int x = x0; x < x1 && left < 0; ++x)
        if (canvas->GetPixel(x, y) != paper) left = x;
      if (left < 0) continue;
      if (!bands.empty() && bands.back().Last == y - 1) {
        bands.back().Last = y;
        bands.back().Left = std::min(bands.back().Left, left);
      } else {
        bands.push_back({y, y, left});
      }
    }
    return bands;
  }

  std::unique_ptr<IForm> form;
  std::unique_ptr<IPictureBox> back, canvas, work;
  std::unique_ptr<IVScrollBar> scroll;
  clsHTML html;
  int dispDone = 0;
  std::string clicked;
};

TEST_F(QtViewer, ShowsTheSampleHelpWithItsImageLinksAndScrolling) {
  html.SetHtmlFile(KV_SAMPLE_HELP "/index.htm");
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_EQ(dispDone, 1);
  EXPECT_TRUE(canvas->Visible());
  EXPECT_EQ(html.Links().size(), 8u);
  EXPECT_EQ(html.Anchors().size(), 4u);
  EXPECT_NE(html.PlaneText().find("小さな日本語デスクトップ時計"), std::string::npos);
  EXPECT_EQ(html.PlaneText().find("この行は表示されません"), std::string::npos);
  // The logo's ring, copied near the top.
  bool ring = false;
  for (int y = 0; y < 80 && !ring; ++y) ring = canvas->GetPixel(23, y) == RGB(40, 70, 160);
  EXPECT_TRUE(ring);
  // The background of the document and of the frame.
  EXPECT_EQ(canvas->GetPixel(599, 60), RGB(0xFF, 0xFF, 0xF0));
  EXPECT_EQ(back->BackColor(), RGB(0xFF, 0xFF, 0xF0));

  ASSERT_TRUE(scroll->Enabled());
  EXPECT_EQ(scroll->Max(), static_cast<int>((html.CanvasHeight() - back->Height()) / 15 + 0.5));
  int16_t key = 35;
  canvas->KeyDown(key, 0);
  EXPECT_DOUBLE_EQ(canvas->Top() + canvas->Height(), back->ScaleHeight());

  // Clicking the first link of the contents.
  const LinkSpot& first = html.Links()[0];
  canvas->MouseDown(vbLeftButton, 0, first.Left + 15, first.Top + 15);
  EXPECT_EQ(clicked, "#start");
}

TEST_F(QtViewer, ShiftJisPagesAndAnchorsOfAnotherFile) {
  html.SetHtmlFile(KV_SAMPLE_HELP "/index.htm");
  ASSERT_TRUE(html.DispHTML(false));
  html.SetHtmlFile("page2.htm");
  html.SetCurName("#mml");
  ASSERT_TRUE(html.DispHTML(false));
  EXPECT_EQ(html.HtmlFile(), KV_SAMPLE_HELP "/page2.htm");
  EXPECT_NE(html.PlaneText().find("MML の書き方"), std::string::npos);
  EXPECT_EQ(html.PlaneText().find("よくある質問"), std::string::npos);
}

TEST_F(QtViewer, ResizingTheFrameRedrawsAtTheNewWidth) {
  html.SetHtmlFile(KV_SAMPLE_HELP "/page2.htm");
  ASSERT_TRUE(html.DispHTML(false));
  const double tall = canvas->Height();
  html.Move(0, 0, 300 * 15, 400 * 15);
  EXPECT_EQ(dispDone, 2);
  EXPECT_DOUBLE_EQ(canvas->Width(), 300 * 15);
  EXPECT_GT(canvas->Height(), tall);
  EXPECT_DOUBLE_EQ(scroll->Left(), 300 * 15);
}

TEST_F(QtViewer, TextOfRealPagesIsNeitherLostLeftOrRightNorDrawnOverOtherText) {
  // Unbalanced list closers: the last line starts at the left edge.
  ASSERT_TRUE(ShowBody("<UL TYPE=disc><LI>a</UL><UL TYPE=disc><LI>a</UL><UL TYPE=disc><LI>a</UL><P>After"));
  auto bands = InkBands(0, 600);
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_LE(bands.back().Left, 2);
  // Items outside a list: one line each.
  ASSERT_TRUE(ShowBody("<BLOCKQUOTE><LI>a<LI>b</BLOCKQUOTE>"));
  EXPECT_EQ(InkBands(0, 600).size(), 2u);
  // A centred paragraph wider than the canvas wraps inside the margin.
  ASSERT_TRUE(ShowBody("<CENTER>" + std::string(40, 'W') + "</CENTER>."));
  bands = InkBands(0, 600);
  ASSERT_EQ(bands.size(), 3u);  // two centred lines and the "."
  EXPECT_TRUE(InkBands(580, 600).empty());
}

}  // namespace
