#include "htmlview/clsGraphicMethod.h"

#include <cmath>

#include "htmlview/basQuillet.h"
#include "platform/Checked.h"

using platform::checked::CLng;
using platform::checked::Mul32;

namespace {
// The surface's units per pixel.
double UnitsPerPixel(const platform::IPictureBox& s, bool horizontal) {
  if (s.ScaleMode() == platform::vbPixels) return 1.0;
  return horizontal ? basQuillet::TwipsPerPixelX() : basQuillet::TwipsPerPixelY();
}
}  // namespace

int32_t clsGraphicMethod::WidthPx(const std::string& text) const {
  if (!mctlSurface) return 0;
  return CLng(mctlSurface->TextWidth(text) / UnitsPerPixel(*mctlSurface, true));
}

int32_t clsGraphicMethod::HeightPx(const std::string& text) const {
  if (!mctlSurface) return 0;
  return CLng(mctlSurface->TextHeight(text) / UnitsPerPixel(*mctlSurface, false));
}

int32_t clsGraphicMethod::TextWidth(const std::string& lpszString) const {
  return Mul32(WidthPx(lpszString), basQuillet::TwipsPerPixelX());
}

int32_t clsGraphicMethod::TextHeight(const std::string& lpszString) const {
  return Mul32(HeightPx(lpszString), basQuillet::TwipsPerPixelY());
}

// Draws at the helper's own position, leaving the surface's position alone.
void clsGraphicMethod::DrawAt(const std::string& text) {
  const double x = mctlSurface->CurrentX(), y = mctlSurface->CurrentY();
  mctlSurface->SetCurrentX(mlngX * UnitsPerPixel(*mctlSurface, true));
  mctlSurface->SetCurrentY(mlngY * UnitsPerPixel(*mctlSurface, false));
  mctlSurface->Print(text);
  mctlSurface->SetCurrentX(x);
  mctlSurface->SetCurrentY(y);
}

bool clsGraphicMethod::PrintNoCrLf(const std::string& lpszString) {
  if (!mctlSurface) return false;
  DrawAt(lpszString);
  mlngX += WidthPx(lpszString);
  return false;
}

bool clsGraphicMethod::PrintWithCrLf(const std::string& lpszString) {
  if (!mctlSurface) return false;
  if (!lpszString.empty()) DrawAt(lpszString);
  mlngY += HeightPx(lpszString);
  mlngX = 0;
  return false;
}

void clsGraphicMethod::Refresh() {
  if (mctlSurface) mctlSurface->Refresh();
}

bool clsGraphicMethod::AutoRedraw() const { return mctlSurface && mctlSurface->AutoRedraw(); }
void clsGraphicMethod::SetAutoRedraw(bool vNewValue) {
  if (mctlSurface) mctlSurface->SetAutoRedraw(vNewValue);
}

int32_t clsGraphicMethod::CurrentX() const { return Mul32(mlngX, basQuillet::TwipsPerPixelX()); }
void clsGraphicMethod::SetCurrentX(int32_t vNewValue) {
  mlngX = CLng(static_cast<double>(vNewValue) / basQuillet::TwipsPerPixelX());
}
int32_t clsGraphicMethod::CurrentY() const { return Mul32(mlngY, basQuillet::TwipsPerPixelY()); }
void clsGraphicMethod::SetCurrentY(int32_t vNewValue) {
  mlngY = CLng(static_cast<double>(vNewValue) / basQuillet::TwipsPerPixelY());
}
