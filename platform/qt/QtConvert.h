#pragma once
// Conversions between the platform's values and Qt's.
#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "platform/Color.h"
#include "platform/StdFont.h"

namespace platform::qt {

inline QString ToQ(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string FromQ(const QString& text) { return text.toStdString(); }

inline QColor ToQColor(OleColor color) {
  const OleColor rgb = ResolveColor(color);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// The Qt font for a font description, sized in whole pixels at 96 dots per inch.
QFont ToQFont(const StdFont& font);

}  // namespace platform::qt

namespace platform::qt {
// The key code the program's handlers expect (the classic virtual-key
// codes: letters and digits as their ASCII capitals, F1 = 112, ...).
int16_t VbKeyCode(int qtKey);
// Mouse button and shift states as the program's events report them.
int16_t VbButton(Qt::MouseButtons buttons);
int16_t VbShift(Qt::KeyboardModifiers modifiers);
}  // namespace platform::qt
