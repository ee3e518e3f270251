#pragma once
// The drawing state and persistent image behind every form and picture
// surface. Coordinates arrive in scale units and are drawn in pixels;
// lines and boxes are set pixel by pixel so that they are exact.
#include <QImage>
#include <functional>
#include <string>

#include "platform/Surface.h"

namespace platform::qt {

class SurfaceCanvas {
 public:
  // twipsPerPixel: the screen's pixel pitch; onChange: called after drawing.
  SurfaceCanvas(double twipsPerPixelX, double twipsPerPixelY, std::function<void()> onChange);

  // Follows the widget's size, keeping what was drawn.
  void Resize(int widthPx, int heightPx);
  const QImage& Image() const { return mImage; }
  int WidthPx() const { return mImage.width(); }
  int HeightPx() const { return mImage.height(); }

  int16_t ScaleMode() const { return mScaleMode; }
  void SetScaleMode(int16_t mode);
  double ScaleWidth() const { return FromPxX(mImage.width()); }
  double ScaleHeight() const { return FromPxY(mImage.height()); }
  double CurrentX() const { return mCurrentX; }
  double CurrentY() const { return mCurrentY; }
  void SetCurrentX(double x) { mCurrentX = x; }
  void SetCurrentY(double y) { mCurrentY = y; }

  void Print(const std::string& text, bool lineEnd);
  double TextWidth(const std::string& text) const;
  double TextHeight(const std::string& text) const;
  void Line(double x1, double y1, double x2, double y2, OleColor color);
  void Box(double x1, double y1, double x2, double y2, OleColor color);
  void FillBox(double x1, double y1, double x2, double y2, OleColor color);
  void Cls();

  OleColor BackColor() const { return mBackColor; }
  void SetBackColor(OleColor color);
  OleColor ForeColor() const { return mForeColor; }
  void SetForeColor(OleColor color) { mForeColor = color; }
  int16_t DrawWidth() const { return mDrawWidth; }
  void SetDrawWidth(int16_t width) { mDrawWidth = width < 1 ? 1 : width; }
  StdFont Font() const { return mFont; }
  void SetFont(const StdFont& font);

  void SetPixel(int32_t x, int32_t y, OleColor color);
  OleColor GetPixel(int32_t x, int32_t y) const;
  void DrawEdge(const PixelRect& rect, uint32_t edge, uint32_t flags);

  // Scale units ↔ pixels.
  int ToPxX(double v) const;
  int ToPxY(double v) const;
  double FromPxX(int px) const;
  double FromPxY(int px) const;

 private:
  void SetPixelRgb(int x, int y, QRgb rgb);
  void LinePx(int x1, int y1, int x2, int y2, QRgb rgb);
  void Changed() const {
    if (mOnChange) mOnChange();
  }

  double mTppX;
  double mTppY;
  std::function<void()> mOnChange;
  QImage mImage;
  int16_t mScaleMode = vbTwips;
  double mCurrentX = 0;
  double mCurrentY = 0;
  OleColor mBackColor = SystemColor(COLOR_BTNFACE);
  OleColor mForeColor = SystemColor(COLOR_BTNTEXT);
  int16_t mDrawWidth = 1;
  StdFont mFont;
};

}  // namespace platform::qt
