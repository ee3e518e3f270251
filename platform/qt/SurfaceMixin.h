#pragma once
// Implements the drawing-surface interface of a form or picture surface by
// handing every call to its SurfaceCanvas.
#include "platform/Surface.h"
#include "platform/qt/SurfaceCanvas.h"

namespace platform::qt {

template <typename Base>
class SurfaceMixin : public Base {
 public:
  using Base::Base;

  int16_t ScaleMode() const override { return Canvas().ScaleMode(); }
  void SetScaleMode(int16_t mode) override { Canvas().SetScaleMode(mode); }
  double ScaleWidth() const override { return Canvas().ScaleWidth(); }
  double ScaleHeight() const override { return Canvas().ScaleHeight(); }
  double CurrentX() const override { return Canvas().CurrentX(); }
  double CurrentY() const override { return Canvas().CurrentY(); }
  void SetCurrentX(double x) override { Canvas().SetCurrentX(x); }
  void SetCurrentY(double y) override { Canvas().SetCurrentY(y); }
  void Print(const std::string& text) override { Canvas().Print(text, false); }
  void PrintLine(const std::string& text) override { Canvas().Print(text, true); }
  double TextWidth(const std::string& text) const override { return Canvas().TextWidth(text); }
  double TextHeight(const std::string& text) const override { return Canvas().TextHeight(text); }
  void Line(double x1, double y1, double x2, double y2, OleColor color) override {
    Canvas().Line(x1, y1, x2, y2, color);
  }
  void Box(double x1, double y1, double x2, double y2, OleColor color) override { Canvas().Box(x1, y1, x2, y2, color); }
  void FillBox(double x1, double y1, double x2, double y2, OleColor color) override {
    Canvas().FillBox(x1, y1, x2, y2, color);
  }
  void Cls() override { Canvas().Cls(); }
  OleColor BackColor() const override { return Canvas().BackColor(); }
  void SetBackColor(OleColor color) override { Canvas().SetBackColor(color); }
  OleColor ForeColor() const override { return Canvas().ForeColor(); }
  void SetForeColor(OleColor color) override { Canvas().SetForeColor(color); }
  int16_t DrawWidth() const override { return Canvas().DrawWidth(); }
  void SetDrawWidth(int16_t width) override { Canvas().SetDrawWidth(width); }
  StdFont Font() const override { return Canvas().Font(); }
  void SetFont(const StdFont& font) override { Canvas().SetFont(font); }
  void SetPixel(int32_t x, int32_t y, OleColor color) override { Canvas().SetPixel(x, y, color); }
  OleColor GetPixel(int32_t x, int32_t y) const override { return Canvas().GetPixel(x, y); }
  void DrawEdge(const PixelRect& rect, uint32_t edge, uint32_t flags) override { Canvas().DrawEdge(rect, edge, flags); }

 protected:
  virtual SurfaceCanvas& Canvas() const = 0;
};

}  // namespace platform::qt
