#include "platform/Color.h"

#include <array>

namespace platform {

OleColor GetSysColor(uint32_t index) {
  // The standard colours of the classic Windows appearance.
  static constexpr std::array<OleColor, 25> table = {
      RGB(0xC0, 0xC0, 0xC0),  // scroll bar
      RGB(0x00, 0x80, 0x80),  // desktop
      RGB(0x00, 0x00, 0x80),  // active caption
      RGB(0x80, 0x80, 0x80),  // inactive caption
      RGB(0xC0, 0xC0, 0xC0),  // menu
      RGB(0xFF, 0xFF, 0xFF),  // window
      RGB(0x00, 0x00, 0x00),  // window frame
      RGB(0x00, 0x00, 0x00),  // menu text
      RGB(0x00, 0x00, 0x00),  // window text
      RGB(0xFF, 0xFF, 0xFF),  // caption text
      RGB(0xC0, 0xC0, 0xC0),  // active border
      RGB(0xC0, 0xC0, 0xC0),  // inactive border
      RGB(0x80, 0x80, 0x80),  // application workspace
      RGB(0x00, 0x00, 0x80),  // highlight
      RGB(0xFF, 0xFF, 0xFF),  // highlight text
      RGB(0xC0, 0xC0, 0xC0),  // button face
      RGB(0x80, 0x80, 0x80),  // button shadow
      RGB(0x80, 0x80, 0x80),  // grey text
      RGB(0x00, 0x00, 0x00),  // button text
      RGB(0xC0, 0xC0, 0xC0),  // inactive caption text
      RGB(0xFF, 0xFF, 0xFF),  // 3D highlight
      RGB(0x00, 0x00, 0x00),  // 3D dark shadow
      RGB(0xDF, 0xDF, 0xDF),  // 3D light
      RGB(0x00, 0x00, 0x00),  // tooltip text
      RGB(0xFF, 0xFF, 0xE1),  // tooltip background
  };
  return index < table.size() ? table[index] : 0;
}

OleColor ResolveColor(OleColor color) {
  if (color & kSystemColorFlag) return GetSysColor(color & 0xFFFFu);
  return color & 0xFFFFFFu;
}

}  // namespace platform
