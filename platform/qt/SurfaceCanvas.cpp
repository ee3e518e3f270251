#include "platform/qt/SurfaceCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "platform/Checked.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

QRgb ToRgb(OleColor color) { return ToQColor(color).rgb(); }

QStringList LinesOf(const std::string& text) {
  QString t = ToQ(text);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return t.split(QLatin1Char('\n'));
}

}  // namespace

SurfaceCanvas::SurfaceCanvas(double twipsPerPixelX, double twipsPerPixelY, std::function<void()> onChange)
    : mTppX(twipsPerPixelX), mTppY(twipsPerPixelY), mOnChange(std::move(onChange)) {
  mImage = QImage(1, 1, QImage::Format_RGB32);
  mImage.fill(ToQColor(mBackColor));
}

void SurfaceCanvas::Resize(int widthPx, int heightPx) {
  widthPx = std::max(widthPx, 1);
  heightPx = std::max(heightPx, 1);
  if (widthPx == mImage.width() && heightPx == mImage.height()) return;
  QImage next(widthPx, heightPx, QImage::Format_RGB32);
  next.fill(ToQColor(mBackColor));
  QPainter p(&next);
  p.drawImage(0, 0, mImage);
  p.end();
  mImage = std::move(next);
}

void SurfaceCanvas::SetScaleMode(int16_t mode) {
  if (mode != vbTwips && mode != vbPixels) RaiseError(errInvalidCall);
  if (mode == mScaleMode) return;
  // The drawing position stays where it is on the surface.
  const int x = ToPxX(mCurrentX);
  const int y = ToPxY(mCurrentY);
  mScaleMode = mode;
  mCurrentX = FromPxX(x);
  mCurrentY = FromPxY(y);
}

int SurfaceCanvas::ToPxX(double v) const {
  return static_cast<int>(checked::RoundHalfEven(mScaleMode == vbTwips ? v / mTppX : v));
}
int SurfaceCanvas::ToPxY(double v) const {
  return static_cast<int>(checked::RoundHalfEven(mScaleMode == vbTwips ? v / mTppY : v));
}
double SurfaceCanvas::FromPxX(int px) const { return mScaleMode == vbTwips ? px * mTppX : px; }
double SurfaceCanvas::FromPxY(int px) const { return mScaleMode == vbTwips ? px * mTppY : px; }

void SurfaceCanvas::SetFont(const StdFont& font) {
  mFont = font;
  mFont.Size = SnapFontSize(font.Size);
}

void SurfaceCanvas::SetBackColor(OleColor color) {
  // As on the original platform, a new back colour clears the surface.
  mBackColor = color;
  Cls();
}

double SurfaceCanvas::TextWidth(const std::string& text) const {
  const QFontMetrics fm(ToQFont(mFont));
  int widest = 0;
  for (const QString& line : LinesOf(text)) widest = std::max(widest, fm.horizontalAdvance(line));
  return FromPxX(widest);
}

double SurfaceCanvas::TextHeight(const std::string& text) const {
  const QFontMetrics fm(ToQFont(mFont));
  return FromPxY(fm.height() * static_cast<int>(LinesOf(text).size()));
}

void SurfaceCanvas::Print(const std::string& text, bool lineEnd) {
  const QFont font = ToQFont(mFont);
  const QFontMetrics fm(font);
  QPainter p(&mImage);
  p.setFont(font);
  p.setPen(ToQColor(mForeColor));
  const QStringList lines = LinesOf(text);
  int x = ToPxX(mCurrentX);
  int y = ToPxY(mCurrentY);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (!lines[i].isEmpty()) p.drawText(x, y + fm.ascent(), lines[i]);
    if (i + 1 < lines.size()) {
      x = 0;
      y += fm.height();
    } else {
      x += fm.horizontalAdvance(lines[i]);
    }
  }
  p.end();
  if (lineEnd) {
    mCurrentX = 0;
    mCurrentY = FromPxY(y + fm.height());
  } else {
    mCurrentX = FromPxX(x);
    mCurrentY = FromPxY(y);
  }
  Changed();
}

void SurfaceCanvas::SetPixelRgb(int x, int y, QRgb rgb) {
  if (x < 0 || y < 0 || x >= mImage.width() || y >= mImage.height()) return;
  reinterpret_cast<QRgb*>(mImage.scanLine(y))[x] = rgb;
}

void SurfaceCanvas::LinePx(int x1, int y1, int x2, int y2, QRgb rgb) {
  // Bresenham, the end point excluded.
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1;
  int y = y1;
  while (x != x2 || y != y2) {
    SetPixelRgb(x, y, rgb);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void SurfaceCanvas::Line(double x1, double y1, double x2, double y2, OleColor color) {
  const QRgb rgb = ToRgb(color);
  const int px1 = ToPxX(x1), py1 = ToPxY(y1), px2 = ToPxX(x2), py2 = ToPxY(y2);
  for (int w = 0; w < mDrawWidth; ++w) {
    // Wider lines grow below or to the right of the one-pixel line.
    const bool horizontal = std::abs(px2 - px1) >= std::abs(py2 - py1);
    LinePx(px1 + (horizontal ? 0 : w), py1 + (horizontal ? w : 0), px2 + (horizontal ? 0 : w),
           py2 + (horizontal ? w : 0), rgb);
  }
  mCurrentX = x2;
  mCurrentY = y2;
  Changed();
}

void SurfaceCanvas::Box(double x1, double y1, double x2, double y2, OleColor color) {
  const QRgb rgb = ToRgb(color);
  const int l = std::min(ToPxX(x1), ToPxX(x2)), r = std::max(ToPxX(x1), ToPxX(x2));
  const int t = std::min(ToPxY(y1), ToPxY(y2)), b = std::max(ToPxY(y1), ToPxY(y2));
  for (int x = l; x <= r; ++x) {
    SetPixelRgb(x, t, rgb);
    SetPixelRgb(x, b, rgb);
  }
  for (int y = t; y <= b; ++y) {
    SetPixelRgb(l, y, rgb);
    SetPixelRgb(r, y, rgb);
  }
  mCurrentX = x2;
  mCurrentY = y2;
  Changed();
}

void SurfaceCanvas::FillBox(double x1, double y1, double x2, double y2, OleColor color) {
  const int l = std::min(ToPxX(x1), ToPxX(x2)), r = std::max(ToPxX(x1), ToPxX(x2));
  const int t = std::min(ToPxY(y1), ToPxY(y2)), b = std::max(ToPxY(y1), ToPxY(y2));
  QPainter p(&mImage);
  p.fillRect(QRect(QPoint(l, t), QPoint(r, b)), ToQColor(color));
  p.end();
  mCurrentX = x2;
  mCurrentY = y2;
  Changed();
}

void SurfaceCanvas::Cls() {
  mImage.fill(ToQColor(mBackColor));
  mCurrentX = 0;
  mCurrentY = 0;
  Changed();
}

void SurfaceCanvas::SetPixel(int32_t x, int32_t y, OleColor color) {
  SetPixelRgb(x, y, ToRgb(color));
  Changed();
}

OleColor SurfaceCanvas::GetPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= mImage.width() || y >= mImage.height()) return 0xFFFFFFFFu;  // CLR_INVALID
  const QRgb c = mImage.pixel(x, y);
  return RGB(static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qBlue(c)));
}

void SurfaceCanvas::DrawEdge(const PixelRect& rect, uint32_t edge, uint32_t flags) {
  // Two rings at most: the outer edge on the rectangle's outermost pixels,
  // the inner edge one pixel inside, on the sides the flags name. Top and
  // left take the light colour of a raised edge, bottom and right the dark.
  struct Ring {
    uint32_t raised, sunken;
    uint32_t raisedLight, raisedDark, sunkenLight, sunkenDark;
  };
  static constexpr Ring outer{BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW,
                              COLOR_3DHILIGHT};
  static constexpr Ring inner{BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_3DHILIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW,
                              COLOR_3DLIGHT};
  PixelRect r = rect;
  for (const Ring& ring : {outer, inner}) {
    uint32_t lt = 0, rb = 0;
    bool draw = true;
    if (edge & ring.raised) {
      lt = ring.raisedLight;
      rb = ring.raisedDark;
    } else if (edge & ring.sunken) {
      lt = ring.sunkenLight;
      rb = ring.sunkenDark;
    } else {
      draw = false;
    }
    if (draw && r.Right > r.Left && r.Bottom > r.Top) {
      const QRgb light = ToRgb(SystemColor(lt)), dark = ToRgb(SystemColor(rb));
      if (flags & BF_BOTTOM) LinePx(r.Left, r.Bottom - 1, r.Right, r.Bottom - 1, dark);
      if (flags & BF_RIGHT) LinePx(r.Right - 1, r.Top, r.Right - 1, r.Bottom, dark);
      if (flags & BF_TOP) LinePx(r.Left, r.Top, r.Right - 1, r.Top, light);
      if (flags & BF_LEFT) LinePx(r.Left, r.Top, r.Left, r.Bottom - 1, light);
    }
    if (draw) {
      if (flags & BF_LEFT) ++r.Left;
      if (flags & BF_TOP) ++r.Top;
      if (flags & BF_RIGHT) --r.Right;
      if (flags & BF_BOTTOM) --r.Bottom;
    }
  }
  Changed();
}

}  // namespace platform::qt
