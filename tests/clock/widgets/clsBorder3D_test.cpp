#include "clock/widgets/clsBorder3D.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/Services.h"

using namespace platform;

namespace {

// A colour no frame uses, so that untouched pixels stand out.
constexpr OleColor kClear = RGB(0x12, 0x34, 0x56);

char Letter(OleColor c) {
  if (c == kClear) return '.';
  if (c == GetSysColor(COLOR_3DHILIGHT)) return 'H';
  if (c == GetSysColor(COLOR_BTNSHADOW)) return 'S';
  if (c == GetSysColor(COLOR_BTNFACE)) return 'F';
  if (c == RGB(0, 0, 0)) return 'K';
  return '?';
}

struct Border3DTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmTest", "", vbSizable, false, false});
    Resize(40, 30);
    border.SetCanvas(form.get());
    border.SetClient(form.get());
  }
  void Resize(int w, int h) {
    form->Move(0, 0, w * 15, h * 15);
    form->SetBackColor(kClear);
  }
  std::vector<std::string> Picture() const {
    std::vector<std::string> rows;
    for (int y = 0; y < form->ScaleHeight() / 15; ++y) {
      rows.emplace_back();
      for (int x = 0; x < form->ScaleWidth() / 15; ++x) rows.back() += Letter(form->GetPixel(x, y));
    }
    return rows;
  }
  bool Untouched() const {
    for (const std::string& row : Picture())
      if (row.find_first_not_of('.') != std::string::npos) return false;
    return true;
  }
  // Checks pixels given as "x,y:L x,y:L ...".
  void Expect(const std::string& pixels) const {
    std::istringstream in(pixels);
    int x, y;
    char comma, colon, letter;
    while (in >> x >> comma >> y >> colon >> letter)
      EXPECT_EQ(Letter(form->GetPixel(x, y)), letter) << "at " << x << "," << y;
  }
  // The label Label1(2) at pixel (10, 8), 12 × 6 pixels.
  std::unique_ptr<ILabel> MakeLabel(IControl& container) {
    auto label = Controls().CreateLabel(container, "Label1", 2);
    label->SetAutoSize(false);
    label->Move(150, 120, 180, 90);
    return label;
  }
  void ExpectOverflow() {
    try {
      border.Draw();
      ADD_FAILURE() << "no overflow";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), errOverflow);
    }
  }

  std::unique_ptr<IForm> form;
  clsBorder3D border;
};

TEST_F(Border3DTest, InnerBevelRingsOfTheClockAndOfTheDefaults) {
  Resize(10, 8);
  border.SetStyle3D(5);
  border.Draw();
  EXPECT_EQ(Picture(), (std::vector<std::string>{"HHHHHHHHHS", "H........S", "H........S", "H........S",
                                                 "H........S", "H........S", "H........S", "SSSSSSSSSS"}));

  form->Cls();
  border.SetBevelInner(2);
  border.SetBevelOuter(1);
  border.Draw();
  EXPECT_EQ(Picture(), (std::vector<std::string>{"SSSSSSSSSH", "S........H", "S.HHHHHS.H", "S.H....S.H",
                                                 "S.H....S.H", "S.SSSSSS.H", "S........H", "HHHHHHHHHH"}));
}

TEST_F(Border3DTest, OuterBevelAroundALabelLeavesTheBandAndTheLabelUntouched) {
  auto label = MakeLabel(*form);
  border.SetClient(label.get());
  border.SetStyle3D(4);
  border.SetBevelInner(2);
  border.SetBevelOuter(1);
  border.SetBevelWidth(2);
  border.Draw();
  // 2 + 1 + 2 pixels out: inset rings at 5 and 6, the band at 7, raised rings at 8 and 9.
  Expect("5,3:S 6,4:S 26,3:H 26,18:H 5,18:H 25,17:H 4,3:. 7,10:. 8,6:H 9,7:H 23,15:S 22,14:S 10,8:. 21,13:.");
}

TEST_F(Border3DTest, ThinEtchedAndFieldFramesGoOntoTheClientsContainer) {
  auto picture = Controls().CreatePictureBox(*form, "Picture1");
  auto label = MakeLabel(*form);
  const std::pair<int32_t, const char*> cases[] = {
      {1, "9,7:S 21,7:S 9,13:S 22,7:H 9,14:H 22,14:H 8,6:. 10,8:."},
      {2, "9,7:H 22,7:H 9,14:H 22,14:S 21,14:S 22,13:S"},
      {3, "8,6:S 22,14:S 9,7:H 22,7:H 23,15:H 8,15:. 10,8:."},
      {9, "8,6:S 21,6:S 8,13:S 9,7:K 20,7:K 9,12:K 21,7:. 9,13:. 22,6:H 8,14:H 22,14:H"},
  };
  for (const auto& [style, pixels] : cases) {
    SCOPED_TRACE(style);
    form->Cls();
    border.SetCanvas(picture.get());
    border.SetClient(label.get());
    border.SetStyle3D(style);
    border.Draw();
    EXPECT_EQ(border.Canvas(), form.get());
    Expect(pixels);
  }

  // A client in a frame has no surface around it.
  auto frame = Controls().CreateFrame(*form, "Frame1");
  auto framed = MakeLabel(*frame);
  form->Cls();
  border.SetClient(framed.get());
  border.Draw();
  EXPECT_EQ(border.Canvas(), form.get());
  EXPECT_TRUE(Untouched());
}

TEST_F(Border3DTest, StyleZeroErasesTheThinFrameOnlyWhenAskedAndUnknownStylesDrawNothing) {
  auto label = MakeLabel(*form);
  border.SetClient(label.get());
  // Style 0 as it is, the unknown styles even with ActOnNone.
  for (int32_t style : {0, 14, -1}) {
    border.SetStyle3D(style);
    border.Draw();
    border.SetActOnNone(true);
  }
  EXPECT_TRUE(Untouched());

  border.SetStyle3D(0);
  border.Draw();
  Expect("9,7:F 22,7:F 9,14:F 22,14:F 15,7:F 15,14:F 9,10:F 22,10:F 10,8:. 8,7:.");
}

TEST_F(Border3DTest, SystemEdgesAroundTheCanvasOrTheRectangle) {
  Resize(20, 16);
  border.SetLeft(30);  // pixels 2, 3 to 12, 11
  border.SetTop(45);
  border.SetWidth(150);
  border.SetHeight(120);
  const std::tuple<int32_t, int32_t, const char*> cases[] = {
      {10, 0, "0,0:H 17,0:H 18,0:S 19,0:K 0,13:H 0,14:S 0,15:K 19,15:K 5,5:."},
      {11, 0, "0,0:K 19,0:H 0,15:H 1,1:S 16,1:S 17,1:. 1,12:S 1,13:."},
      {12, 1, "2,3:H 10,3:H 11,3:S 2,10:S 11,10:S 3,4:. 1,2:. 12,11:."},
      {13, 1, "2,3:S 11,10:H 3,4:H 10,9:S 4,5:."},
  };
  for (const auto& [style, edgeStyle, pixels] : cases) {
    SCOPED_TRACE(style);
    form->Cls();
    border.SetStyle3D(style);
    border.SetDrawEdgeStyle(edgeStyle);
    border.Draw();
    Expect(pixels);
  }
}

TEST_F(Border3DTest, OutOfRangeValuesLeaveThePreviousOnes) {
  border.SetBevelInner(1);
  for (int32_t bad : {3, -1}) {
    border.SetBevelInner(bad);
    border.SetBevelOuter(bad);
  }
  border.SetBevelWidth(-1);
  border.SetBorderWidth(-1);
  border.SetLeft(100);
  border.SetTop(200);
  border.SetWidth(300);
  border.SetHeight(400);
  border.SetLeft(-1);
  border.SetTop(-1);
  border.SetWidth(-1);
  border.SetHeight(-1);
  EXPECT_EQ(std::vector<int32_t>({border.BevelInner(), border.BevelOuter(), border.BevelWidth(), border.BorderWidth(),
                                  border.Left(), border.Top(), border.Width(), border.Height()}),
            std::vector<int32_t>({1, 2, 1, 1, 100, 200, 300, 400}));
}

TEST_F(Border3DTest, ScaleModeIsRestoredAfterDrawingAndAfterAnOverflow) {
  Resize(10, 8);
  form->SetScaleMode(vbPixels);
  border.SetStyle3D(5);
  border.Draw();
  EXPECT_EQ(form->ScaleMode(), vbPixels);
  Expect("0,0:H 9,7:S");

  border.SetBevelWidth(3000);  // 2 185 pixels do not fit a 16-bit product in twips
  ExpectOverflow();
  EXPECT_EQ(form->ScaleMode(), vbPixels);

  form->Cls();
  border.SetBevelWidth(1);
  border.SetStyle3D(8);
  border.SetLeft(INT32_MAX - 10);  // Left + Width leaves 32 bits before anything is drawn
  border.SetWidth(100);
  ExpectOverflow();
  EXPECT_EQ(form->ScaleMode(), vbPixels);
  EXPECT_TRUE(Untouched());
}

TEST_F(Border3DTest, MissingOrWrongObjects) {
  auto label = MakeLabel(*form);
  EXPECT_THROW(border.SetCanvas(label.get()), std::logic_error);
  EXPECT_EQ(border.Canvas(), form.get());

  clsBorder3D empty;
  empty.SetStyle3D(5);
  EXPECT_NO_THROW(empty.Draw());
  empty.SetClient(form.get());
  EXPECT_THROW(empty.Draw(), RuntimeError);  // a client but no canvas

  border.SetClient(label.get());  // a label has no drawing area to frame inside
  border.SetStyle3D(5);
  EXPECT_THROW(border.Draw(), RuntimeError);
  EXPECT_EQ(form->ScaleMode(), vbTwips);
  EXPECT_TRUE(Untouched());
}

}  // namespace
