#pragma once
// A picture surface: a child control that is also a drawing surface with a
// persistent image, an optional picture loaded from a file, copies between
// surfaces, and the events of a window that takes keys and the mouse.
#include <functional>
#include <string>

#include "platform/Control.h"
#include "platform/Surface.h"

namespace platform {

class IPictureBox : public IControl, public ISurface {
 public:
  ControlKind Kind() const override { return ControlKind::PictureBox; }

  // 0 = no border, 1 = fixed single.
  virtual int16_t BorderStyle() const { return 0; }
  virtual void SetBorderStyle(int16_t) {}
  // The drawing is always kept; the setting is remembered for callers that ask.
  virtual bool AutoRedraw() const { return true; }
  virtual void SetAutoRedraw(bool) {}
  // With AutoSize on, loading a picture gives the surface the picture's size.
  virtual bool AutoSize() const { return false; }
  virtual void SetAutoSize(bool) {}
  // Loads a picture file (PNG, GIF, JPEG, BMP) as the surface's picture: the
  // drawing is cleared to it. Raises error 53 when the file does not exist
  // and 481 when it is not a picture.
  virtual void LoadPicture(const std::string& path) = 0;
  // Empties the picture; the drawing is cleared to the back colour.
  virtual void ClearPicture() = 0;
  // Copies a pixel rectangle of another surface's drawing onto this one,
  // stretched when the sizes differ (BitBlt / StretchBlt with SRCCOPY).
  virtual void PaintPicture(const IPictureBox& source, int32_t srcX, int32_t srcY, int32_t srcWidth,
                            int32_t srcHeight, int32_t dstX, int32_t dstY, int32_t dstWidth, int32_t dstHeight) = 0;

  // Saves a pixel rectangle of the drawing as an image file, its format
  // chosen by the name's extension (png, bmp, jpg); false on failure.
  virtual bool SaveImage(const std::string&, int32_t, int32_t, int32_t, int32_t) const { return false; }

  // The control's own pointer (vbDefault, or vbCustom for the link pointer:
  // a hand) and its tooltip.
  virtual int16_t MousePointer() const { return 0; }
  virtual void SetMousePointer(int16_t) {}
  virtual std::string ToolTipText() const { return {}; }
  virtual void SetToolTipText(const std::string&) {}

  std::function<void()> Paint;
  std::function<void()> Resize;
  // Positions in the surface's scale units.
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseDown;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseMove;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseUp;
  std::function<void(int16_t& keyCode, int16_t shift)> KeyDown;
  // The mouse wheel turned over the surface: delta in eighths of a degree,
  // positive away from the user (120 a notch). Without a handler the turn
  // goes to the surface's container.
  std::function<void(int32_t delta, int16_t shift)> MouseWheel;
  // The keyboard focus came to or left the surface within its window.
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
};

}  // namespace platform
