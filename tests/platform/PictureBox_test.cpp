#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Services.h"

using namespace platform;

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

struct PictureBoxTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
    form->Move(0, 0, 400 * 15, 300 * 15);
    box = Controls().CreatePictureBox(*form, "Picture1");
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    dir = std::filesystem::path(tmp ? tmp : "/tmp") / "pictures";
    std::filesystem::create_directories(dir);
  }
  std::unique_ptr<IForm> form;
  std::unique_ptr<IPictureBox> box;
  std::filesystem::path dir;
};

TEST_F(PictureBoxTest, ATallSurfaceKeepsItsDrawingWithoutAnImageOfItsSize) {
  const long before = ResidentKiB();
  box->Move(0, 0, 600 * 15, 400000 * 15);  // an image would take 960 MB
  box->SetBackColor(RGB(255, 255, 255));
  box->SetForeColor(RGB(0, 0, 0));
  for (int i = 0; i < 3000; ++i) box->PrintLine("長い文書の一行 line of text");
  box->SetScaleMode(vbPixels);
  box->Box(10, 390000, 20, 390010, RGB(255, 0, 0));
  box->Line(0, 200000, 50, 200000, RGB(0, 0, 255));
  EXPECT_EQ(box->GetPixel(10, 390000), RGB(255, 0, 0));
  EXPECT_EQ(box->GetPixel(20, 390010), RGB(255, 0, 0));
  EXPECT_EQ(box->GetPixel(15, 390005), RGB(255, 255, 255));
  EXPECT_EQ(box->GetPixel(49, 200000), RGB(0, 0, 255));
  EXPECT_EQ(box->GetPixel(50, 200000), RGB(255, 255, 255));
  // Text was drawn somewhere in the first line.
  bool inked = false;
  for (int x = 0; x < 200 && !inked; ++x)
    for (int y = 0; y < 16 && !inked; ++y) inked = box->GetPixel(x, y) != RGB(255, 255, 255);
  EXPECT_TRUE(inked);
  EXPECT_LT(ResidentKiB() - before, 150 * 1024);
  // Cls forgets what was drawn.
  box->Cls();
  EXPECT_EQ(box->GetPixel(10, 390000), RGB(255, 255, 255));
}

TEST_F(PictureBoxTest, PicturesLoadInEveryFormatAndSizeTheSurface) {
  box->Move(0, 0, 30 * 15, 20 * 15);
  box->SetBackColor(RGB(0, 128, 0));
  box->SetScaleMode(vbPixels);
  box->FillBox(0, 0, 9, 9, RGB(255, 0, 0));
  for (const char* name : {"p.png", "p.bmp", "p.jpg"}) {
    ASSERT_TRUE(box->SaveImage((dir / name).string(), 0, 0, 30, 20)) << name;
  }
  // A one-pixel white GIF.
  const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xFF,
                               0xFF, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C,
                               0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  std::ofstream(dir / "p.gif", std::ios::binary).write(reinterpret_cast<const char*>(gif), sizeof gif);

  auto work = Controls().CreatePictureBox(*form, "Picture3");
  work->SetAutoSize(true);
  for (const char* name : {"p.png", "p.bmp", "p.jpg"}) {
    work->LoadPicture((dir / name).string());
    EXPECT_DOUBLE_EQ(work->Width(), 30 * 15) << name;
    EXPECT_DOUBLE_EQ(work->Height(), 20 * 15) << name;
  }
  work->LoadPicture((dir / "p.png").string());
  EXPECT_EQ(work->GetPixel(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(work->GetPixel(20, 5), RGB(0, 128, 0));
  work->LoadPicture((dir / "p.gif").string());
  EXPECT_DOUBLE_EQ(work->Width(), 15);

  try {
    work->LoadPicture((dir / "none.png").string());
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errFileNotFound);
  }
  std::ofstream(dir / "bad.png") << "not a picture";
  try {
    work->LoadPicture((dir / "bad.png").string());
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errInvalidPicture);
  }
  // Emptying the picture clears the drawing to the back colour.
  work->LoadPicture((dir / "p.png").string());
  work->SetBackColor(RGB(1, 2, 3));
  work->ClearPicture();
  EXPECT_EQ(work->GetPixel(5, 5), RGB(1, 2, 3));
}

TEST_F(PictureBoxTest, CopiesBetweenSurfacesAtSizeAndStretched) {
  auto source = Controls().CreatePictureBox(*form, "Picture3");
  source->Move(0, 0, 4 * 15, 4 * 15);
  source->SetBackColor(RGB(255, 0, 0));
  source->SetPixel(0, 0, RGB(0, 0, 255));
  box->Move(0, 0, 100 * 15, 100 * 15);
  box->SetBackColor(RGB(255, 255, 255));
  box->PaintPicture(*source, 0, 0, 4, 4, 10, 10, 4, 4);
  EXPECT_EQ(box->GetPixel(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(box->GetPixel(13, 13), RGB(255, 0, 0));
  EXPECT_EQ(box->GetPixel(14, 14), RGB(255, 255, 255));
  box->PaintPicture(*source, 0, 0, 4, 4, 50, 50, 8, 8);
  EXPECT_EQ(box->GetPixel(51, 51), RGB(0, 0, 255));
  EXPECT_EQ(box->GetPixel(57, 57), RGB(255, 0, 0));
  EXPECT_EQ(box->GetPixel(58, 58), RGB(255, 255, 255));
}

// A tall surface keeps every copy made onto it; thousands of copied lines
// (a document of centred lines) are kept small, and read back exactly.
TEST_F(PictureBoxTest, ThousandsOfCopiesOntoATallSurfaceStayExactAndSmall) {
  auto line = Controls().CreatePictureBox(*form, "Picture2");
  line->Move(0, 0, 600 * 15, 16 * 15);
  line->SetBackColor(RGB(255, 255, 255));
  line->SetForeColor(RGB(0, 0, 128));
  line->PrintLine("中央にそろえた行 centred text");
  line->SetScaleMode(vbPixels);
  line->SetPixel(599, 15, RGB(200, 0, 0));  // the copy's last pixel
  box->Move(0, 0, 600 * 15, 40000 * 15);
  box->SetBackColor(RGB(240, 240, 240));
  box->SetScaleMode(vbPixels);
  const long before = ResidentKiB();
  constexpr int kCopies = 2400;  // 92 MB of pictures at four bytes a pixel
  for (int i = 0; i < kCopies; ++i) box->PaintPicture(*line, 0, 0, 600, 16, 0, i * 16, 600, 16);
#ifndef __SANITIZE_ADDRESS__  // the sanitizer's allocator keeps what is freed
  EXPECT_LT(ResidentKiB() - before, 60 * 1024);
#else
  (void)before;
#endif
  for (const int i : {0, kCopies / 2, kCopies - 1}) {
    for (int x = 0; x < 600; x += 7) {
      for (int y = 0; y < 16; y += 3) ASSERT_EQ(box->GetPixel(x, i * 16 + y), line->GetPixel(x, y)) << i;
    }
    EXPECT_EQ(box->GetPixel(599, i * 16 + 15), RGB(200, 0, 0));
  }
  EXPECT_EQ(box->GetPixel(5, kCopies * 16 + 5), RGB(240, 240, 240));
}

TEST_F(PictureBoxTest, SurfacesGrowingPastTheImageLimitKeepTheirDrawing) {
  box->Move(0, 0, 100 * 15, 100 * 15);
  box->SetBackColor(RGB(255, 255, 255));
  box->SetPixel(3, 3, RGB(9, 9, 9));
  box->Move(0, 0, 100 * 15, 100000 * 15);
  EXPECT_EQ(box->GetPixel(3, 3), RGB(9, 9, 9));
  box->SetPixel(3, 90000, RGB(7, 7, 7));
  box->Move(0, 0, 100 * 15, 100 * 15);
  EXPECT_EQ(box->GetPixel(3, 3), RGB(9, 9, 9));
  EXPECT_EQ(box->GetPixel(3, 90000), 0xFFFFFFFFu);
}

TEST(VScrollBarTest, ValueChangesRaiseChangeAndStayInRange) {
  auto form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
  auto bar = Controls().CreateVScrollBar(*form, "VScroll1");
  ASSERT_NE(bar, nullptr);
  int changes = 0;
  bar->Change = [&] { ++changes; };
  bar->SetMin(0);
  bar->SetMax(100);
  bar->SetLargeChange(10);
  bar->SetSmallChange(2);
  bar->SetValue(40);
  EXPECT_EQ(bar->Value(), 40);
  EXPECT_EQ(changes, 1);
  bar->SetValue(40);
  EXPECT_EQ(changes, 1);
  bar->SetValue(500);
  EXPECT_EQ(bar->Value(), 100);
  EXPECT_EQ(bar->LargeChange(), 10);
  EXPECT_EQ(bar->SmallChange(), 2);
  bar->SetEnabled(false);
  EXPECT_FALSE(bar->Enabled());
}

}  // namespace
