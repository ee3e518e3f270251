#include "clock/widgets/clsBorder3D.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/Services.h"

using namespace platform;

namespace {

// A colour none of the frames uses, so that untouched pixels stand out.
constexpr OleColor kClear = RGB(0x12, 0x34, 0x56);

// One letter per pixel colour.
char Letter(OleColor c) {
  if (c == kClear) return '.';
  if (c == GetSysColor(COLOR_3DHILIGHT)) return 'H';
  if (c == GetSysColor(COLOR_BTNSHADOW)) return 'S';
  if (c == GetSysColor(COLOR_BTNFACE)) return 'F';
  if (c == GetSysColor(COLOR_3DLIGHT)) return 'L';
  if (c == RGB(0, 0, 0)) return 'K';
  return '?';
}

struct Border3DTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
    Resize(40, 30);
  }
  void Resize(int w, int h) {
    form->Move(0, 0, w * 15, h * 15);
    form->SetBackColor(kClear);
  }
  // The whole surface as rows of letters.
  std::vector<std::string> Picture() const {
    const int w = static_cast<int>(form->ScaleWidth() / 15), h = static_cast<int>(form->ScaleHeight() / 15);
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
      std::string row;
      for (int x = 0; x < w; ++x) row += Letter(form->GetPixel(x, y));
      rows.push_back(row);
    }
    return rows;
  }
  char At(int x, int y) const { return Letter(form->GetPixel(x, y)); }
  bool Untouched() const {
    for (const std::string& row : Picture())
      if (row.find_first_not_of('.') != std::string::npos) return false;
    return true;
  }
  // A label at (x, y) of w × h pixels on the given container.
  std::unique_ptr<ILabel> MakeLabel(IControl& container, int x, int y, int w, int h) {
    auto label = Controls().CreateLabel(container, "Label1", 2);
    label->SetAutoSize(false);
    label->Move(x * 15, y * 15, w * 15, h * 15);
    return label;
  }

  std::unique_ptr<IForm> form;
  clsBorder3D border;
};

TEST_F(Border3DTest, ClockFrameIsInsetRingUntouchedRingAndRaisedRing) {
  Resize(10, 8);
  border.SetCanvas(form.get());
  border.SetClient(form.get());
  border.SetStyle3D(5);
  border.SetBevelInner(2);
  border.SetBevelOuter(1);
  border.Draw();
  const std::vector<std::string> expected = {
      "SSSSSSSSSH",  //
      "S........H",  //
      "S.HHHHHS.H",  //
      "S.H....S.H",  //
      "S.H....S.H",  //
      "S.SSSSSS.H",  //
      "S........H",  //
      "HHHHHHHHHH",  //
  };
  EXPECT_EQ(Picture(), expected);
}

TEST_F(Border3DTest, DefaultsDrawOneRaisedRingInsideTheClient) {
  Resize(8, 6);
  border.SetCanvas(form.get());
  border.SetClient(form.get());
  border.SetStyle3D(5);
  border.Draw();
  const std::vector<std::string> expected = {
      "HHHHHHHS",  //
      "H......S",  //
      "H......S",  //
      "H......S",  //
      "H......S",  //
      "SSSSSSSS",  //
  };
  EXPECT_EQ(Picture(), expected);
}

TEST_F(Border3DTest, DialogFrameHasTwoPixelBevels) {
  Resize(14, 12);
  border.SetCanvas(form.get());
  border.SetClient(form.get());
  border.SetStyle3D(5);
  border.SetBevelInner(2);
  border.SetBevelOuter(1);
  border.SetBevelWidth(2);
  const std::vector<std::string> expected = {
      "SSSSSSSSSSSSSH",  //
      "SSSSSSSSSSSSHH",  //
      "SS..........HH",  //
      "SS.HHHHHHHS.HH",  //
      "SS.HHHHHHSS.HH",  //
      "SS.HH....SS.HH",  //
      "SS.HH....SS.HH",  //
      "SS.HSSSSSSS.HH",  //
      "SS.SSSSSSSS.HH",  //
      "SS..........HH",  //
      "SHHHHHHHHHHHHH",  //
      "HHHHHHHHHHHHHH",  //
  };
  border.Draw();
  EXPECT_EQ(Picture(), expected);
}

TEST_F(Border3DTest, BevelAroundALabelLeavesTheBandAndTheLabelUntouched) {
  auto label = MakeLabel(*form, 10, 8, 12, 6);
  border.SetCanvas(form.get());
  border.SetClient(label.get());
  border.SetStyle3D(4);
  border.SetBevelInner(2);
  border.SetBevelOuter(1);
  border.SetBevelWidth(2);
  border.Draw();
  // Thickness 2 + 1 + 2 = 5 pixels: the outer bevel starts 5 pixels out.
  EXPECT_EQ(At(5, 3), 'S');
  EXPECT_EQ(At(6, 4), 'S');
  EXPECT_EQ(At(26, 3), 'H');
  EXPECT_EQ(At(26, 18), 'H');
  EXPECT_EQ(At(5, 18), 'H');
  EXPECT_EQ(At(4, 3), '.');
  EXPECT_EQ(At(7, 10), '.');  // the band
  EXPECT_EQ(At(8, 6), 'H');
  EXPECT_EQ(At(9, 7), 'H');
  EXPECT_EQ(At(23, 15), 'S');
  EXPECT_EQ(At(22, 14), 'S');
  EXPECT_EQ(At(10, 8), '.');  // the label itself
  EXPECT_EQ(At(21, 13), '.');
}

TEST_F(Border3DTest, ThinEtchedAndFieldFramesGoOntoTheClientsContainer) {
  auto picture = Controls().CreatePictureBox(*form, "Picture1");
  picture->Move(0, 0, 30 * 15, 20 * 15);
  auto label = MakeLabel(*form, 10, 8, 12, 6);
  struct Case {
    int32_t style;
    std::vector<std::pair<std::pair<int, int>, char>> pixels;
  };
  const std::vector<Case> cases = {
      // Thin inset: shadow top and left, highlight bottom and right, one pixel out.
      {1, {{{9, 7}, 'S'}, {{21, 7}, 'S'}, {{9, 13}, 'S'}, {{22, 7}, 'H'}, {{9, 14}, 'H'}, {{22, 14}, 'H'}, {{8, 6}, '.'}}},
      // Thin raised: highlight top and left, shadow bottom and right.
      {2, {{{9, 7}, 'H'}, {{22, 7}, 'H'}, {{9, 14}, 'H'}, {{22, 14}, 'S'}, {{21, 14}, 'S'}, {{22, 13}, 'S'}}},
      // Etched: a shadow box two pixels out, a highlight box one pixel lower right.
      {3, {{{8, 6}, 'S'}, {{22, 14}, 'S'}, {{9, 7}, 'H'}, {{22, 7}, 'H'}, {{23, 15}, 'H'}, {{8, 15}, '.'}}},
      // Field: shadow and black on top and left, highlight on bottom and right.
      {9,
       {{{8, 6}, 'S'},
        {{21, 6}, 'S'},
        {{8, 13}, 'S'},
        {{9, 7}, 'K'},
        {{20, 7}, 'K'},
        {{9, 12}, 'K'},
        {{21, 7}, '.'},
        {{9, 13}, '.'},
        {{22, 6}, 'H'},
        {{8, 14}, 'H'},
        {{22, 14}, 'H'}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    form->Cls();
    border.SetCanvas(picture.get());
    border.SetClient(label.get());
    border.SetStyle3D(c.style);
    border.Draw();
    EXPECT_EQ(border.Canvas(), form.get());
    for (const auto& [xy, letter] : c.pixels) EXPECT_EQ(At(xy.first, xy.second), letter) << xy.first << "," << xy.second;
  }
}

TEST_F(Border3DTest, FramesOutsideAClientInAFrameAreNotDrawn) {
  auto frame = Controls().CreateFrame(*form, "Frame1");
  frame->Move(0, 0, 30 * 15, 20 * 15);
  auto label = MakeLabel(*frame, 10, 8, 12, 6);
  border.SetCanvas(form.get());
  border.SetClient(label.get());
  border.SetStyle3D(1);
  border.Draw();
  EXPECT_EQ(border.Canvas(), form.get());
  EXPECT_TRUE(Untouched());
}

TEST_F(Border3DTest, StyleZeroErasesTheThinFrameOnlyWhenAskedAndUnknownStylesDrawNothing) {
  auto label = MakeLabel(*form, 10, 8, 12, 6);
  border.SetCanvas(form.get());
  border.SetClient(label.get());
  for (int32_t style : {0, 14, -1}) {
    border.SetStyle3D(style);
    border.Draw();
    EXPECT_TRUE(Untouched()) << style;
  }
  border.SetActOnNone(true);
  border.SetStyle3D(14);
  border.Draw();
  EXPECT_TRUE(Untouched());

  border.SetStyle3D(0);
  border.Draw();
  for (int x = 9; x <= 22; ++x) {
    EXPECT_EQ(At(x, 7), 'F');
    EXPECT_EQ(At(x, 14), 'F');
  }
  for (int y = 7; y <= 14; ++y) {
    EXPECT_EQ(At(9, y), 'F');
    EXPECT_EQ(At(22, y), 'F');
  }
  EXPECT_EQ(At(10, 8), '.');
  EXPECT_EQ(At(8, 7), '.');
}

TEST_F(Border3DTest, SystemEdgesFollowTheCanvasOrTheRectangle) {
  Resize(20, 16);
  border.SetCanvas(form.get());
  border.SetClient(form.get());

  border.SetStyle3D(10);  // raised, three calls
  border.Draw();
  EXPECT_EQ(At(0, 0), 'H');
  EXPECT_EQ(At(17, 0), 'H');
  EXPECT_EQ(At(18, 0), 'S');
  EXPECT_EQ(At(19, 0), 'K');
  EXPECT_EQ(At(0, 13), 'H');
  EXPECT_EQ(At(0, 14), 'S');
  EXPECT_EQ(At(0, 15), 'K');
  EXPECT_EQ(At(19, 15), 'K');
  EXPECT_EQ(At(5, 5), '.');

  form->Cls();
  border.SetStyle3D(11);  // sunken, three calls
  border.Draw();
  EXPECT_EQ(At(0, 0), 'K');
  EXPECT_EQ(At(19, 0), 'H');
  EXPECT_EQ(At(0, 15), 'H');
  EXPECT_EQ(At(1, 1), 'S');
  EXPECT_EQ(At(16, 1), 'S');
  EXPECT_EQ(At(17, 1), '.');
  EXPECT_EQ(At(1, 12), 'S');
  EXPECT_EQ(At(1, 13), '.');

  // The rectangle: 2, 3 to 12, 11 in pixels.
  border.SetLeft(30);
  border.SetTop(45);
  border.SetWidth(150);
  border.SetHeight(120);
  border.SetDrawEdgeStyle(1);

  form->Cls();
  border.SetStyle3D(12);  // raised inner edge, one call
  border.Draw();
  EXPECT_EQ(At(2, 3), 'H');
  EXPECT_EQ(At(10, 3), 'H');
  EXPECT_EQ(At(11, 3), 'S');
  EXPECT_EQ(At(2, 10), 'S');
  EXPECT_EQ(At(11, 10), 'S');
  EXPECT_EQ(At(3, 4), '.');
  EXPECT_EQ(At(1, 2), '.');
  EXPECT_EQ(At(12, 11), '.');

  form->Cls();
  border.SetStyle3D(13);  // sunken outer with raised inner, one call
  border.Draw();
  EXPECT_EQ(At(2, 3), 'S');
  EXPECT_EQ(At(11, 10), 'H');
  EXPECT_EQ(At(3, 4), 'H');
  EXPECT_EQ(At(10, 9), 'S');
  EXPECT_EQ(At(4, 5), '.');
}

TEST_F(Border3DTest, OutOfRangeValuesLeaveThePreviousOnes) {
  border.SetBevelInner(1);
  border.SetBevelInner(3);
  border.SetBevelInner(-1);
  EXPECT_EQ(border.BevelInner(), 1);
  border.SetBevelOuter(3);
  EXPECT_EQ(border.BevelOuter(), 2);
  border.SetBevelWidth(-1);
  EXPECT_EQ(border.BevelWidth(), 1);
  border.SetBevelWidth(0);
  EXPECT_EQ(border.BevelWidth(), 0);
  border.SetBorderWidth(-1);
  EXPECT_EQ(border.BorderWidth(), 1);
  border.SetLeft(100);
  border.SetLeft(-1);
  border.SetTop(200);
  border.SetTop(-1);
  border.SetWidth(300);
  border.SetWidth(-1);
  border.SetHeight(400);
  border.SetHeight(-1);
  EXPECT_EQ(border.Left(), 100);
  EXPECT_EQ(border.Top(), 200);
  EXPECT_EQ(border.Width(), 300);
  EXPECT_EQ(border.Height(), 400);
}

TEST_F(Border3DTest, ScaleModeIsRestoredAfterDrawingAndAfterAnOverflow) {
  Resize(10, 8);
  form->SetScaleMode(vbPixels);
  border.SetCanvas(form.get());
  border.SetClient(form.get());
  border.SetStyle3D(5);
  border.Draw();
  EXPECT_EQ(form->ScaleMode(), vbPixels);
  EXPECT_EQ(At(0, 0), 'H');
  EXPECT_EQ(At(9, 7), 'S');

  // 2 185 pixels are more twips than a 16-bit product holds.
  border.SetBevelWidth(3000);
  try {
    border.Draw();
    FAIL() << "no overflow";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errOverflow);
  }
  EXPECT_EQ(form->ScaleMode(), vbPixels);

  // A 32-bit sum that overflows, before anything is drawn.
  form->Cls();
  border.SetBevelWidth(1);
  border.SetStyle3D(8);
  border.SetLeft(INT32_MAX - 10);
  border.SetWidth(100);
  try {
    border.Draw();
    FAIL() << "no overflow";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errOverflow);
  }
  EXPECT_EQ(form->ScaleMode(), vbPixels);
  EXPECT_TRUE(Untouched());
}

TEST_F(Border3DTest, MissingOrWrongObjects) {
  border.SetStyle3D(5);
  EXPECT_NO_THROW(border.Draw());
  EXPECT_TRUE(Untouched());

  auto label = MakeLabel(*form, 10, 8, 12, 6);
  EXPECT_THROW(border.SetCanvas(label.get()), std::logic_error);
  EXPECT_EQ(border.Canvas(), nullptr);

  // A client but no canvas to draw on.
  border.SetClient(form.get());
  try {
    border.Draw();
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errObjectNotSet);
  }
  // A frame inside a label: a label has no drawing area.
  border.SetCanvas(form.get());
  border.SetClient(label.get());
  EXPECT_THROW(border.Draw(), RuntimeError);
  EXPECT_EQ(form->ScaleMode(), vbTwips);
  EXPECT_TRUE(Untouched());
}

}  // namespace
