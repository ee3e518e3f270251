#include "platform/qt/QtConvert.h"

#include <algorithm>
#include <cmath>

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
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<int16_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;  // Shift+Tab arrives as Backtab
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
  }
}

int16_t VbButton(Qt::MouseButtons buttons) {
  int16_t b = 0;
  if (buttons & Qt::LeftButton) b |= 1;
  if (buttons & Qt::RightButton) b |= 2;
  if (buttons & Qt::MiddleButton) b |= 4;
  return b;
}

int16_t VbShift(Qt::KeyboardModifiers modifiers) {
  int16_t s = 0;
  if (modifiers & Qt::ShiftModifier) s |= 1;
  if (modifiers & Qt::ControlModifier) s |= 2;
  if (modifiers & Qt::AltModifier) s |= 4;
  return s;
}

}  // namespace platform::qt
