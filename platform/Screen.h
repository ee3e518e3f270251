#pragma once
// The screen and the pointer: pixel pitch, size, mouse pointer, GUI font.
#include <cstdint>
#include <string>

namespace platform {

enum MousePointerConstants : int16_t { vbDefault = 0, vbArrow = 1, vbHourglass = 11, vbCustom = 99 };

class IScreen {
 public:
  virtual ~IScreen() = default;
  // Twips per pixel (15 at 96 dots per inch).
  virtual double TwipsPerPixelX() const = 0;
  virtual double TwipsPerPixelY() const = 0;
  // Size of the whole primary screen, twips.
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  // The screen-wide pointer (vbDefault, vbHourglass, ...).
  virtual int16_t MousePointer() const = 0;
  virtual void SetMousePointer(int16_t pointer) = 0;
  // The face name of the platform's default GUI font.
  virtual std::string DefaultGuiFontFace() const = 0;
};

}  // namespace platform
