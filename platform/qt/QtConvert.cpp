#include "platform/qt/QtConvert.h"

#include <algorithm>
#include <cmath>

#include "platform/Form.h"

namespace platform::qt {

QFont ToQFont(const StdFont& font) {
  QFont f(ToQ(font.Name));
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(SnapFontSize(font.Size) * 96.0 / 72.0))));
  int weight = font.Bold ? std::max<int>(700, font.Weight) : font.Weight;
  f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  f.setItalic(font.Italic);
  f.setUnderline(font.Underline);
  f.setStrikeOut(font.Strikethrough);
  if (font.Stretch > 0) f.setStretch(std::clamp<int>(font.Stretch, 1, 4000));
  f.setStyleStrategy(QFont::PreferDefault);
  return f;
}

}  // namespace platform::qt

namespace platform::qt {

int16_t VbKeyCode(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return static_cast<int16_t>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<int16_t>(vbKeyF1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;  // Shift+Tab arrives as Backtab
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    default: return 0;
  }
}

int16_t VbButton(Qt::MouseButtons buttons) {
  int16_t b = 0;
  if (buttons & Qt::LeftButton) b |= vbLeftButton;
  if (buttons & Qt::RightButton) b |= vbRightButton;
  if (buttons & Qt::MiddleButton) b |= vbMiddleButton;
  return b;
}

int16_t VbShift(Qt::KeyboardModifiers modifiers) {
  int16_t s = 0;
  if (modifiers & Qt::ShiftModifier) s |= vbShiftMask;
  if (modifiers & Qt::ControlModifier) s |= vbCtrlMask;
  if (modifiers & Qt::AltModifier) s |= vbAltMask;
  return s;
}

}  // namespace platform::qt
