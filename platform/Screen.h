#pragma once
// The screen and the pointer: pixel pitch, size, mouse pointer, GUI font.
#include <cstdint>
#include <string>

#include "platform/Surface.h"

namespace platform {

class IForm;

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
  // The work area (the desktop without panels and taskbars), pixels, of the
  // screen that shows the window; of the primary screen when there is no
  // window. By default the whole primary screen.
  virtual PixelRect WorkArea(const IForm* window) const {
    (void)window;
    return PixelRect{0, 0, static_cast<int32_t>(Width() / TwipsPerPixelX()),
                     static_cast<int32_t>(Height() / TwipsPerPixelY())};
  }
};

}  // namespace platform
