#pragma once
// A drawing surface with a persistent image (forms and picture surfaces):
// scale mode, drawing position, text output and measurement, lines, boxes,
// pixels and system edges, in the surface's scale units.
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/StdFont.h"

namespace platform {

enum ScaleModeConstants : int16_t { vbTwips = 1, vbPixels = 3 };

// DrawEdge flags.
enum EdgeFlags : uint32_t {
  BDR_RAISEDOUTER = 0x1,
  BDR_SUNKENOUTER = 0x2,
  BDR_RAISEDINNER = 0x4,
  BDR_SUNKENINNER = 0x8,
  BF_LEFT = 0x1,
  BF_TOP = 0x2,
  BF_RIGHT = 0x4,
  BF_BOTTOM = 0x8,
  BF_RECT = 0xF,
};

// A rectangle in pixels: left and top inside, right and bottom outside.
struct PixelRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

class ISurface {
 public:
  virtual ~ISurface() = default;

  // 1 = twips, 3 = pixels.
  virtual int16_t ScaleMode() const = 0;
  virtual void SetScaleMode(int16_t mode) = 0;
  // Inner size in scale units.
  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;

  virtual double CurrentX() const = 0;
  virtual double CurrentY() const = 0;
  virtual void SetCurrentX(double x) = 0;
  virtual void SetCurrentY(double y) = 0;

  // Draws the text at the drawing position in the fore colour and font.
  // Print moves the position to just after the text; PrintLine moves it to
  // the start of the next line.
  virtual void Print(const std::string& text) = 0;
  virtual void PrintLine(const std::string& text) = 0;
  virtual double TextWidth(const std::string& text) const = 0;
  virtual double TextHeight(const std::string& text) const = 0;

  // A line from (x1, y1) to (x2, y2), the end point not drawn; the drawing
  // position moves to the end point.
  virtual void Line(double x1, double y1, double x2, double y2, OleColor color) = 0;
  // A one-pixel rectangle outline, both corners included.
  virtual void Box(double x1, double y1, double x2, double y2, OleColor color) = 0;
  // A filled rectangle, both corners included.
  virtual void FillBox(double x1, double y1, double x2, double y2, OleColor color) = 0;
  // Clears the image to the back colour and moves the drawing position to 0, 0.
  virtual void Cls() = 0;

  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;
  virtual OleColor ForeColor() const = 0;
  virtual void SetForeColor(OleColor color) = 0;
  virtual int16_t DrawWidth() const = 0;
  virtual void SetDrawWidth(int16_t width) = 0;

  virtual StdFont Font() const = 0;
  // Takes the font; the size snaps to what the platform can realise.
  virtual void SetFont(const StdFont& font) = 0;
  double FontSize() const { return Font().Size; }
  void SetFontSize(double points) {
    StdFont f = Font();
    f.Size = points;
    SetFont(f);
  }

  // Pixel access in pixels, whatever the scale mode.
  virtual void SetPixel(int32_t x, int32_t y, OleColor color) = 0;
  virtual OleColor GetPixel(int32_t x, int32_t y) const = 0;
  // The system's edge drawing on a pixel rectangle (edge: BDR_*, flags: BF_*).
  virtual void DrawEdge(const PixelRect& rect, uint32_t edge, uint32_t flags) = 0;

  // Shows what was drawn.
  virtual void Refresh() = 0;
};

}  // namespace platform
