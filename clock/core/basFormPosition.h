#pragma once
// A window's position and size kept in the settings between runs, under the
// keys prefix + "Left", "Top", "Width" and "Height" (twips, as the text of a
// single-precision number).
#include <cstdint>
#include <string>

#include "platform/Form.h"

namespace basFormPosition {

// Applies the stored geometry: a position only when it lies on the screen
// (above 0 and below the screen's width or height); unless positionOnly, a
// size only when it is larger than minWidth / minHeight (0: than the
// window's current size).
void RestoreFormPosition(platform::IForm& window, bool positionOnly, int32_t minWidth, int32_t minHeight,
                         const std::string& prefix);

// Stores the window's position and, unless positionOnly, its size; a
// minimised window stores nothing.
void SaveFormPosition(const platform::IForm& window, bool positionOnly, const std::string& prefix);

// The text a single-precision number is stored as ("1234", "1234.5").
std::string SingleText(double value);

}  // namespace basFormPosition
