// The clock window's place on the screen: the corner of its edge of the
// work area, the jump away from the pointer, the topmost band, dragging,
// and what presses on the clock do.
#include <cmath>

#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/help/basSystem.h"
#include "common/basGeneral.h"
#include "platform/Services.h"

using namespace SettingsStore;
using basMain::mintCorner;

namespace {

// The place of the window's outer corner in a corner of the work area;
// false for a value that names no corner.
bool CornerPosition(const platform::IForm& window, int16_t corner, double& left, double& top) {
  platform::PixelRect area;
  basSystem::GetWorkArea(area, &window);
  const double px = basGeneral::TwipsPerPixelX();
  const double py = basGeneral::TwipsPerPixelY();
  const double l = px * area.Left;
  const double t = py * area.Top;
  const double wa = px * (area.Right - area.Left);
  const double ha = py * (area.Bottom - area.Top);
  const double w = window.Width();
  const double h = window.Height();

  if (corner < 0 || corner > 3) return false;
  left = corner <= 1 ? l + wa - w : l;  // right corners 0, 1; left corners 2, 3
  top = corner == 1 || corner == 2 ? t + ha - h : t;
  return true;
}

}  // namespace

bool frmMain::MoveToCorner(platform::IForm& window, int16_t corner, int16_t) {
  double left = 0, top = 0;
  if (!CornerPosition(window, corner, left, top)) return true;
  // Every tick places the clock: a window already in place is left alone.
  if (window.Left() != left || window.Top() != top) window.Move(left, top, window.Width(), window.Height());
  return true;
}

bool frmMain::IsInCorner() const {
  double left = 0, top = 0;
  if (!CornerPosition(*mForm, mintCorner, left, top)) return true;
  // Within a pixel: the work area and the window may differ by rounding.
  return std::abs(mForm->Left() - left) <= basGeneral::TwipsPerPixelX() &&
         std::abs(mForm->Top() - top) <= basGeneral::TwipsPerPixelY();
}

void frmMain::PlaceClock(bool force) {
  if (MoveToCorner(*mForm, mintCorner, 0) && !force) return;
  switch (MoveSide) {
    case 0: mintCorner = basGeneral::ToggleValue<int16_t>(mintCorner, 0, 3); break;
    case 1: mintCorner = basGeneral::ToggleValue<int16_t>(mintCorner, 0, 1); break;
    case 2: mintCorner = basGeneral::ToggleValue<int16_t>(mintCorner, 1, 2); break;
    case 3: mintCorner = basGeneral::ToggleValue<int16_t>(mintCorner, 2, 3); break;
    case 4:
      mForm->Refresh();
      return;
    default: break;
  }
  MoveToCorner(*mForm, mintCorner, 0);
  mForm->Refresh();
}

void frmMain::SetTopMost(platform::IForm& window, int16_t flag) {
  // The platform changes the window only when its state really changes.
  window.SetTopMost(flag == -1);
}

void frmMain::BeginWindowDrag(platform::IForm& window) { window.BeginSystemMove(); }

void frmMain::Form_MouseMove(int16_t, int16_t shift, double, double) {
  if (basMain::mblnSetUpOpen) return;
  if (shift & platform::vbShiftMask) return;
  if (MoveSide != 4) PlaceClock(true);
  SetTopMost(*mForm, TopMost ? -1 : 0);
}

void frmMain::Form_MouseDown(int16_t button, int16_t, double, double) {
  if (basMain::mblnSetUpOpen) {
    try {
      basMain::FocusSettingsDialog(mProgram);
    } catch (...) {
      // The dialog could not take the focus; the press is simply lost.
    }
    return;
  }
  if (button == platform::vbLeftButton) {
    BeginWindowDrag(*mForm);
  } else if (button == platform::vbRightButton) {
    platform::PopupMenu().Show(*mForm, mnuPopUp);
  }
}

void frmMain::Label1_MouseDown(int16_t, int16_t button, int16_t shift, double x, double y) {
  Form_MouseDown(button, shift, x, y);
}
