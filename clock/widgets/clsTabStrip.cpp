#include "clock/widgets/clsTabStrip.h"

#include <initializer_list>
#include <stdexcept>

#include "common/basControl.h"
#include "common/basGeneral.h"
#include "platform/Checked.h"
#include "platform/Color.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

using platform::GetSysColor;
using platform::OleColor;
using platform::checked::Add16;
using platform::checked::CInt;
using platform::checked::CLng;
using platform::checked::Mul16;
using platform::checked::Sub16;

namespace {

// Key codes and shift states the strip answers.
constexpr int16_t kKeyTab = 9;
constexpr int16_t kKeyLeft = 37;
constexpr int16_t kKeyRight = 39;
constexpr int16_t kCtrl = 2;
constexpr int16_t kCtrlShift = 3;

// A 16-bit sum evaluated left to right: error 6 as soon as it leaves the range.
template <typename... Rest>
int16_t Sum(int16_t first, Rest... rest) {
  int16_t value = first;
  ((value = Add16(value, static_cast<int16_t>(rest))), ...);
  return value;
}

struct Point {
  int32_t X;
  int32_t Y;
};

// MoveToEx to the first point, then LineTo each further point: one-pixel
// lines, each end point left to the next segment.
void DrawPath(platform::ISurface& surface, OleColor color, std::initializer_list<Point> points) {
  const Point* previous = nullptr;
  for (const Point& point : points) {
    if (previous) surface.Line(previous->X, previous->Y, point.X, point.Y, color);
    previous = &point;
  }
}

}  // namespace

clsTabStrip::clsTabStrip()
    : mintMarginX(CInt(basGeneral::TwipsPerPixelX() * 8 / 12.0)),
      mintMarginY(CInt(basGeneral::TwipsPerPixelY() * 5 / 12.0)) {}

clsTabStrip::~clsTabStrip() {
  if (!mctlPicture) return;
  mctlPicture->GotFocus = nullptr;
  mctlPicture->LostFocus = nullptr;
  mctlPicture->KeyDown = nullptr;
  mctlPicture->MouseDown = nullptr;
}

void clsTabStrip::SetCmdButtons(platform::ControlArray<platform::ICommandButton>& vctlCmdButtons) {
  mintCmdBase = 0;
  if (basControl::CheckObjects(vctlCmdButtons) == basControl::objControlArray) mintCmdBase = vctlCmdButtons.UBound();
  const platform::ICommandButton* base = nullptr;
  try {
    base = &vctlCmdButtons(mintCmdBase);
  } catch (const platform::RuntimeError&) {
  }
  if (!base || base->Kind() != platform::ControlKind::CommandButton)
    throw std::logic_error("clsTabStrip::SetCmdButtons needs the host's push-button array");
  mctlCmdButtons = &vctlCmdButtons;
}

void clsTabStrip::SetPicture(platform::IPictureBox& ctlNewPicture) {
  mctlPicture = &ctlNewPicture;
  ctlNewPicture.GotFocus = [this] { mctlPicture_GotFocus(); };
  ctlNewPicture.LostFocus = [this] { mctlPicture_LostFocus(); };
  ctlNewPicture.KeyDown = [this](int16_t& keyCode, int16_t shift) { mctlPicture_KeyDown(keyCode, shift); };
  ctlNewPicture.MouseDown = [this](int16_t button, int16_t shift, double x, double y) {
    mctlPicture_MouseDown(button, shift, x, y);
  };
  ctlNewPicture.SetBorderStyle(0);
  ctlNewPicture.SetScaleMode(platform::vbPixels);
  ctlNewPicture.SetEnabled(true);
  ctlNewPicture.SetVisible(true);
}

void clsTabStrip::Add(const std::string& astrCaption, const std::string& astrAccelKey) {
  platform::IPictureBox& picture = Picture();
  if (!mctlCmdButtons) platform::RaiseError(platform::errObjectNotSet);
  const int16_t n = mintCount;

  // The record is complete before anything is created, so that an overflow
  // leaves neither a half tab nor a stray button behind.
  TabItem tab;
  tab.AccelKey = astrAccelKey;
  tab.Caption = astrCaption;
  const std::string label = astrAccelKey.empty() ? astrCaption : astrCaption + "(" + astrAccelKey + ")";
  if (n == 0) {
    tab.Left = 2;
  } else {
    const TabItem& previous = mTabs[static_cast<size_t>(n - 1)];
    tab.Left = Sum(previous.Left, previous.Width, 1);
  }
  tab.Top = 2;
  tab.Width = CInt(picture.TextWidth(label) + Mul16(2, mintMarginX));
  tab.Height = CInt(picture.TextHeight("Ay") + mintMarginY);
  const int16_t buttonIndex = Sum(n, mintCmdBase, 1);

  // The accelerator: a push button on the surface that nobody sees (no
  // size) and that never takes the focus; Alt + key clicks it.
  const platform::ICommandButton& base = (*mctlCmdButtons)(mintCmdBase);
  auto button = platform::Controls().CreateCommandButton(picture, base.Name(), buttonIndex);
  if (!button) platform::RaiseError(platform::errObjectNotSet);
  button->Move(0, 0, 0, 0);
  button->ZOrder(1);
  button->SetEnabled(true);
  button->SetTabStop(false);
  button->SetDefault(false);
  button->SetCancel(false);
  button->SetCaption("&" + astrAccelKey);
  button->SetVisible(true);
  mctlCmdButtons->Load(std::move(button));

  mTabs.push_back(std::move(tab));
  mintCount = Sum(mintCount, 1);
  DrawTabs();
}

void clsTabStrip::AccelKeyCmdBtnClicked(int16_t Index) {
  const int16_t t = Sub16(Sub16(Index, 1), mintCmdBase);
  Tab(t);
  if (t == mintSelectedIndex) return;
  mintSelectedIndex = t;
  DrawTabs();
  DrawTabFocus(t, true);
  if (Click) Click();
  if (TabChanged) TabChanged();
}

int16_t clsTabStrip::ClientLeft() const { return CInt(Picture().Left() + basGeneral::TwipsPerPixelX()); }

int16_t clsTabStrip::ClientTop() const {
  return CInt(Picture().Top() + (Mul16(2, mintMarginY) + LineHeight() - 1) * basGeneral::TwipsPerPixelY());
}

int16_t clsTabStrip::ClientWidth() const { return CInt((Picture().ScaleWidth() - 3) * basGeneral::TwipsPerPixelX()); }

int16_t clsTabStrip::ClientHeight() const {
  return CInt(Picture().Height() - (Mul16(2, mintMarginY) + LineHeight() + 1) * basGeneral::TwipsPerPixelY());
}

int32_t clsTabStrip::Top() const { return CLng(Picture().Top()); }
void clsTabStrip::SetTop(int32_t alngTop) { Picture().SetTop(alngTop); }
int32_t clsTabStrip::Height() const { return CLng(Picture().Height()); }

void clsTabStrip::SetSelectedIndex(int16_t intNewSelectedIndex) {
  if (intNewSelectedIndex == mintSelectedIndex || intNewSelectedIndex >= mintCount || intNewSelectedIndex < 0) return;
  mintSelectedIndex = intNewSelectedIndex;
  DrawTabs();
  DrawTabFocus(intNewSelectedIndex, true);
}

const clsTabStrip::TabItem& clsTabStrip::Tab(int16_t Index) const {
  if (Index < 0 || Index >= mintCount) platform::RaiseError(platform::errSubscriptRange);
  return mTabs[static_cast<size_t>(Index)];
}

void clsTabStrip::mctlPicture_GotFocus() {
  if (mintCount > 0) DrawTabFocus(mintSelectedIndex, true);
}

void clsTabStrip::mctlPicture_LostFocus() {
  if (mintCount > 0) DrawTabFocus(mintSelectedIndex, false);
}

void clsTabStrip::mctlPicture_KeyDown(int16_t& KeyCode, int16_t Shift) {
  const int16_t previous = mintSelectedIndex == 0 ? static_cast<int16_t>(mintCount - 1) : Sum(mintSelectedIndex, -1);
  const int16_t next = mintSelectedIndex == mintCount - 1 ? int16_t{0} : Sum(mintSelectedIndex, 1);
  int16_t intNew = -1;
  if (KeyCode == kKeyLeft || (KeyCode == kKeyTab && Shift == kCtrlShift)) intNew = previous;
  else if (KeyCode == kKeyRight || (KeyCode == kKeyTab && Shift == kCtrl)) intNew = next;
  // A strip without tabs has nothing to select.
  if (intNew != -1 && mintCount > 0) {
    mintSelectedIndex = intNew;
    DrawTabs();
    DrawTabFocus(mintSelectedIndex, true);
    if (TabChanged) TabChanged();
  }
  if (KeyDown) KeyDown(KeyCode, Shift);
}

void clsTabStrip::mctlPicture_MouseDown(int16_t Button, int16_t, double X, double Y) {
  if (Button != platform::vbLeftButton) return;
  for (int16_t i = 0; i < mintCount; ++i) {
    const TabItem& tab = mTabs[static_cast<size_t>(i)];
    if (tab.Left <= X && X <= Sum(tab.Left, tab.Width) && tab.Top <= Y && Y <= Sum(tab.Top, tab.Height)) {
      if (i == mintSelectedIndex) return;
      mintSelectedIndex = i;
      DrawTabs();
      DrawTabFocus(mintSelectedIndex, true);
      if (TabChanged) TabChanged();
      return;
    }
  }
}

void clsTabStrip::DrawTabs() {
  platform::IPictureBox& picture = Picture();
  const OleColor highlight = GetSysColor(platform::COLOR_3DHILIGHT);
  const OleColor darkShadow = GetSysColor(platform::COLOR_3DDKSHADOW);
  const OleColor shadow = GetSysColor(platform::COLOR_BTNSHADOW);
  picture.Cls();

  for (int16_t i = 0; i < mintCount; ++i) {
    const TabItem& tab = mTabs[static_cast<size_t>(i)];
    const int16_t L = tab.Left, T = tab.Top, W = tab.Width, H = tab.Height;
    const int16_t B = Sum(T, H, 1);
    int16_t textY = mintMarginY;
    if (i == mintSelectedIndex) {
      // Raised: two pixels higher and wider, no base line under it.
      DrawPath(picture, highlight, {{Sum(L, -2), B}, {Sum(L, -2), T}, {L, Sum(T, -2)}, {Sum(L, W, 1), Sum(T, -2)}});
      DrawPath(picture, darkShadow, {{Sum(L, W, 2), B}, {Sum(L, W, 2), 2}, {Sum(L, W), Sum(T, -2)}});
      DrawPath(picture, shadow, {{Sum(L, W, 1), B}, {Sum(L, W, 1), Sum(T, -1)}});
      textY = Sum(mintMarginY, -2);
    } else if (i == Sum(mintSelectedIndex, 1)) {
      // The raised tab covers this one's left edge.
      DrawPath(picture, highlight, {{Sum(L, 2), B}, {Sum(L, W, 2), B}});
      DrawPath(picture, highlight, {{Sum(L, 2), T}, {Sum(L, W, -1), T}});
      DrawPath(picture, darkShadow, {{Sum(L, W), Sum(T, H)}, {Sum(L, W), 4}, {Sum(L, W, -2), T}});
      DrawPath(picture, shadow, {{Sum(L, W, -1), Sum(T, H)}, {Sum(L, W, -1), Sum(T, 1)}});
    } else if (i == Sum(mintSelectedIndex, -1)) {
      // The raised tab covers this one's right edge.
      DrawPath(picture, highlight, {{Sum(L, -2), B}, {Sum(L, W), B}});
      DrawPath(picture, highlight, {{L, Sum(T, H)}, {L, Sum(T, 2)}, {Sum(L, 2), T}, {Sum(L, W, -1), T}});
    } else {
      DrawPath(picture, highlight, {{Sum(L, -2), B}, {Sum(L, W, 2), B}});
      DrawPath(picture, highlight, {{L, Sum(T, H)}, {L, Sum(T, 2)}, {Sum(L, 2), T}, {Sum(L, W, -1), T}});
      DrawPath(picture, darkShadow, {{Sum(L, W), Sum(T, H)}, {Sum(L, W), 4}, {Sum(L, W, -2), T}});
      DrawPath(picture, shadow, {{Sum(L, W, -1), Sum(T, H)}, {Sum(L, W, -1), Sum(T, 1)}});
    }
    picture.SetCurrentX(Sum(L, mintMarginX));
    picture.SetCurrentY(textY);
    DrawTabCaption(tab);
  }

  // The page frame; its top line runs from the last tab to the surface's
  // edge (the outer width in twips is far enough).
  if (mintCount == 0) return;
  const TabItem& last = mTabs[static_cast<size_t>(mintCount - 1)];
  const TabItem& selected = Tab(mintSelectedIndex);
  const int16_t BS = Sum(selected.Top, selected.Height, 1);
  const int32_t SW = CLng(picture.ScaleWidth());
  const int32_t SH = CLng(picture.ScaleHeight());
  const int32_t OW = CLng(picture.Width());
  const int16_t lastBase = Sum(last.Top, last.Height, 1);
  DrawPath(picture, highlight, {{Sum(last.Left, last.Width), lastBase}, {OW, lastBase}});
  DrawPath(picture, highlight, {{0, BS}, {0, SH}});
  DrawPath(picture, darkShadow, {{0, SH - 1}, {SW, SH - 1}});
  DrawPath(picture, darkShadow, {{SW - 1, BS}, {SW - 1, SH - 1}});
  DrawPath(picture, shadow, {{1, SH - 2}, {SW - 1, SH - 2}});
  DrawPath(picture, shadow, {{SW - 2, SH - 2}, {SW - 2, BS}});
  picture.Refresh();
}

void clsTabStrip::DrawTabFocus(int16_t intIndex, bool blnShow) {
  platform::IPictureBox& picture = Picture();
  const TabItem& tab = Tab(intIndex);
  const int16_t L = tab.Left, T = tab.Top, W = tab.Width, H = tab.Height;
  const int16_t right = Sum(L, W, -1);
  const int16_t bottom = Sum(T, H, -2);
  if (blnShow) {
    const OleColor color = GetSysColor(platform::COLOR_BTNTEXT);
    for (int32_t x = Sum(L, 2); x <= Sum(L, W, -2); x += 2) {
      picture.SetPixel(x, T, color);
      picture.SetPixel(x, bottom, color);
    }
    for (int32_t y = T; y <= bottom; y += 2) {
      picture.SetPixel(Sum(L, 1), y, color);
      picture.SetPixel(right, y, color);
    }
  } else {
    picture.Box(Sum(L, 1), T, right, bottom, GetSysColor(platform::COLOR_BTNFACE));
  }
  picture.Refresh();
}

void clsTabStrip::DrawTabCaption(const TabItem& tab) {
  platform::IPictureBox& picture = Picture();
  picture.SetForeColor(GetSysColor(platform::COLOR_BTNTEXT));
  if (tab.AccelKey.empty()) {
    picture.Print(tab.Caption);
    return;
  }
  picture.Print(tab.Caption + "(");
  SetUnderline(true);
  picture.Print(tab.AccelKey);
  SetUnderline(false);
  picture.Print(")");
}

void clsTabStrip::SetUnderline(bool blnUnderline) {
  platform::StdFont font = Picture().Font();
  font.Underline = blnUnderline;
  Picture().SetFont(font);
}

platform::IPictureBox& clsTabStrip::Picture() const {
  if (!mctlPicture) platform::RaiseError(platform::errObjectNotSet);
  return *mctlPicture;
}

double clsTabStrip::LineHeight() const { return Picture().TextHeight("|"); }
