#pragma once
// Colours: 32-bit values with red in the low byte (blue × 65536 + green × 256
// + red). A value with the top bit set (0x80000000 + index) names a system
// colour by its index.
#include <cstdint>

namespace platform {

using OleColor = uint32_t;

constexpr OleColor kSystemColorFlag = 0x80000000u;

// System colour indexes.
enum SysColor : uint32_t {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_3DHILIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
};

// The colour value naming a system colour (0x80000000 + index).
constexpr OleColor SystemColor(uint32_t index) { return kSystemColorFlag | index; }

constexpr OleColor RGB(uint8_t red, uint8_t green, uint8_t blue) {
  return OleColor{red} | (OleColor{green} << 8) | (OleColor{blue} << 16);
}
constexpr uint8_t RedOf(OleColor c) { return c & 0xFF; }
constexpr uint8_t GreenOf(OleColor c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(OleColor c) { return (c >> 16) & 0xFF; }

// The system colour by index from the classic Windows table (GetSysColor).
OleColor GetSysColor(uint32_t index);

// The RGB value of any colour: system colours are resolved, RGB values
// keep their low 24 bits.
OleColor ResolveColor(OleColor color);

}  // namespace platform
