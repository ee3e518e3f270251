#include "platform/qt/SurfaceCanvas.h"

#include <QList>
#include <array>

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Checked.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

// Pictures a recording keeps as they are; beyond, it keeps them compact.
constexpr size_t kCompactPicturesAbove = size_t{32} << 20;
// Surfaces up to this many pixels keep one image; larger ones record.
constexpr int64_t kDirectLimit = 2'000'000;
constexpr int kBandHeight = 256;
constexpr size_t kMaxBands = 24;
// Fonts kept with their metrics, the current one included.
constexpr size_t kKeptFonts = 4;

QRgb ToRgb(OleColor color) { return ToQColor(color).rgb(); }

QStringList LinesOf(const std::string& text) {
  QString t = ToQ(text);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return t.split(QLatin1Char('\n'));
}

// The code point of a text that is one UTF-8 character, else 0.
uint32_t SingleCharacter(const std::string& s) {
  if (s.empty()) return 0;
  const auto c0 = static_cast<unsigned char>(s[0]);
  size_t len = c0 < 0x80 ? 1 : (c0 >> 5) == 6 ? 2 : (c0 >> 4) == 14 ? 3 : (c0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || len != s.size()) return 0;
  if (len == 1) return c0 == '\n' || c0 == '\r' ? 0 : c0;
  uint32_t cp = c0 & (0x7F >> len);
  for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  return cp;
}

}  // namespace

struct SurfaceCanvas::Op {
  enum Kind : uint8_t { Text, Line, Box, Fill, Pixel, Picture };
  Kind kind = Pixel;
  // Text: y1 top, y2 bottom (outside), x2 ascent. Line: end points, the
  // second excluded. Box, Fill: corners, both included. Pixel: x1, y1.
  // Picture: the pixel rectangle x1, y1 (inside) to x2, y2 (outside).
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  QRgb rgb = 0;
  std::shared_ptr<const FontEntry> font;
  QString text;
  std::vector<std::pair<int, int>> pieces;  // text: (x, start in text)
  QImage image;

  int Top() const { return kind == Line || kind == Box || kind == Fill ? std::min(y1, y2) : y1; }
  int Bottom() const {  // the last row touched
    switch (kind) {
      case Text:
      case Picture: return y2 - 1;
      case Pixel: return y1;
      default: return std::max(y1, y2);
    }
  }
};

struct SurfaceCanvas::Band {
  QImage image;
  uint64_t used = 0;
};

SurfaceCanvas::SurfaceCanvas(double twipsPerPixelX, double twipsPerPixelY, std::function<void()> onChange)
    : mTppX(twipsPerPixelX), mTppY(twipsPerPixelY), mOnChange(std::move(onChange)) {
  mImage = QImage(1, 1, QImage::Format_RGB32);
  mImage.fill(ToQColor(mBackColor));
  mFillRgb = ToRgb(mBackColor);
  SetFont(mFont);
}

SurfaceCanvas::~SurfaceCanvas() = default;

// Rows of the image that may differ from the colour it was last filled with.
void SurfaceCanvas::MarkDirty(int top, int bottom) {
  top = std::max(top, 0);
  bottom = std::min(bottom, mImage.height() - 1);
  if (top > bottom) return;
  mDirtyTop = std::min(mDirtyTop, top);
  mDirtyBottom = std::max(mDirtyBottom, bottom);
}

void SurfaceCanvas::SwitchToRecording() {
  mRecorded = true;
  mOps.clear();
  mPictureBytes = 0;
  const int bands = (mHeight + kBandHeight - 1) / kBandHeight;
  mBandOps.assign(static_cast<size_t>(bands), {});
  mBands.clear();
  mBands.resize(static_cast<size_t>(bands));
  // What was drawn so far becomes the first record.
  QImage old = mImage.height() == mHeight ? std::move(mImage) : mImage.copy(0, 0, mWidth, mHeight);
  mImage = QImage();
  Op op;
  op.kind = Op::Picture;
  op.x1 = 0;
  op.y1 = 0;
  op.x2 = old.width();
  op.y2 = old.height();
  op.image = std::move(old);
  Record(std::move(op));
}

void SurfaceCanvas::Resize(int widthPx, int heightPx) {
  widthPx = std::max(widthPx, 1);
  heightPx = std::max(heightPx, 1);
  if (widthPx == mWidth && heightPx == mHeight) return;
  const bool large = int64_t{widthPx} * heightPx > kDirectLimit;
  if (!mRecorded && !large) {
    // The image keeps room to grow downwards, so that a surface growing
    // line by line is not copied at every step; rows outside the surface
    // are kept in the back colour.
    if (widthPx != mImage.width() || heightPx > mImage.height()) {
      const int room = std::min(mImage.height() * 2, static_cast<int>(kDirectLimit / widthPx));
      const int rows = widthPx == mImage.width() ? std::max(heightPx, room) : heightPx;
      QImage next(widthPx, rows, QImage::Format_RGB32);
      next.fill(ToQColor(mBackColor));
      QPainter p(&next);
      p.drawImage(QPoint(0, 0), mImage, QRect(0, 0, std::min(mWidth, widthPx), std::min(mHeight, heightPx)));
      p.end();
      mImage = std::move(next);
      mFillRgb = ToRgb(mBackColor);
      mDirtyTop = 0;
      mDirtyBottom = std::min(mHeight, heightPx) - 1;
    } else if (heightPx < mHeight) {
      QPainter p(&mImage);
      p.fillRect(QRect(0, heightPx, mImage.width(), mHeight - heightPx), ToQColor(mBackColor));
      MarkDirty(heightPx, mHeight - 1);
    }
    mWidth = widthPx;
    mHeight = heightPx;
    mImageStale = true;
    return;
  }
  if (mRecorded && !large) {
    QImage next = Region(QRect(0, 0, widthPx, heightPx));
    mRecorded = false;
    mOps.clear();
    mPictureBytes = 0;
    mBandOps.clear();
    mBands.clear();
    mImage = std::move(next);
    mImageStale = false;
    mDirtyTop = 0;
    mDirtyBottom = mImage.height() - 1;
    mWidth = widthPx;
    mHeight = heightPx;
    return;
  }
  if (!mRecorded) SwitchToRecording();
  if (widthPx != mWidth) {
    for (auto& band : mBands) band.reset();
  }
  mWidth = widthPx;
  mHeight = heightPx;
  const size_t bands = static_cast<size_t>((mHeight + kBandHeight - 1) / kBandHeight);
  mBandOps.resize(bands);
  mBands.resize(bands);
  mImageStale = true;
}

void SurfaceCanvas::Record(Op op) {
  if (!mRecorded) {
    ApplyOp(op, mImage, 0);
    MarkDirty(op.Top(), op.Bottom());
    // Nothing is kept below the surface's bottom edge.
    if (op.Bottom() >= mHeight && mImage.height() > mHeight) {
      QPainter p(&mImage);
      p.fillRect(QRect(0, mHeight, mImage.width(), std::min(op.Bottom() + 1, mImage.height()) - mHeight),
                 ToQColor(mBackColor));
    }
    mImageStale = true;
    return;
  }
  const int first = std::max(0, op.Top() / kBandHeight);
  const int last = std::min(static_cast<int>(mBandOps.size()) - 1, op.Bottom() / kBandHeight);
  if (op.Bottom() < 0 || first > last) return;  // wholly outside the surface
  const auto index = static_cast<uint32_t>(mOps.size());
  for (int b = first; b <= last; ++b) {
    mBandOps[static_cast<size_t>(b)].push_back(index);
    if (auto& band = mBands[static_cast<size_t>(b)]) ApplyOp(op, band->image, b * kBandHeight);
  }
  mOps.push_back(std::move(op));
  mImageStale = true;
}

void SurfaceCanvas::ApplyOp(const Op& op, QImage& image, int top) const {
  const int w = image.width(), h = image.height();
  auto set = [&](int x, int y, QRgb rgb) {
    y -= top;
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = rgb;
  };
  switch (op.kind) {
    case Op::Text: {
      QPainter p(&image);
      p.setFont(op.font->Font);
      p.setPen(QColor(op.rgb));
      for (size_t i = 0; i < op.pieces.size(); ++i) {
        const int start = op.pieces[i].second;
        const int end = i + 1 < op.pieces.size() ? op.pieces[i + 1].second : static_cast<int>(op.text.size());
        p.drawText(op.pieces[i].first, op.y1 - top + op.x2, op.text.mid(start, end - start));
      }
      break;
    }
    case Op::Line: {
      // Bresenham, the end point excluded.
      const int dx = std::abs(op.x2 - op.x1);
      const int dy = -std::abs(op.y2 - op.y1);
      const int sx = op.x1 < op.x2 ? 1 : -1;
      const int sy = op.y1 < op.y2 ? 1 : -1;
      int err = dx + dy;
      int x = op.x1;
      int y = op.y1;
      while (x != op.x2 || y != op.y2) {
        set(x, y, op.rgb);
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
      break;
    }
    case Op::Box: {
      const int l = std::min(op.x1, op.x2), r = std::max(op.x1, op.x2);
      const int t = std::min(op.y1, op.y2), b = std::max(op.y1, op.y2);
      for (int x = l; x <= r; ++x) {
        set(x, t, op.rgb);
        set(x, b, op.rgb);
      }
      for (int y = t; y <= b; ++y) {
        set(l, y, op.rgb);
        set(r, y, op.rgb);
      }
      break;
    }
    case Op::Fill: {
      QPainter p(&image);
      const int l = std::min(op.x1, op.x2), r = std::max(op.x1, op.x2);
      const int t = std::min(op.y1, op.y2), b = std::max(op.y1, op.y2);
      p.fillRect(QRect(QPoint(l, t - top), QPoint(r, b - top)), QColor(op.rgb));
      break;
    }
    case Op::Pixel: set(op.x1, op.y1, op.rgb); break;
    case Op::Picture: {
      QPainter p(&image);
      const QRect dst(op.x1, op.y1 - top, op.x2 - op.x1, op.y2 - op.y1);
      if (dst.size() == op.image.size()) p.drawImage(dst.topLeft(), op.image);
      else p.drawImage(dst, op.image);
      break;
    }
  }
}

QImage& SurfaceCanvas::BandImage(int band) const {
  auto& slot = mBands[static_cast<size_t>(band)];
  if (!slot) {
    // Keep only a few rendered bands: drop the one used longest ago.
    size_t rendered = 0;
    size_t oldest = mBands.size();
    for (size_t i = 0; i < mBands.size(); ++i) {
      if (!mBands[i]) continue;
      ++rendered;
      if (oldest == mBands.size() || mBands[i]->used < mBands[oldest]->used) oldest = i;
    }
    if (rendered >= kMaxBands && oldest < mBands.size()) mBands[oldest].reset();
    slot = std::make_unique<Band>();
    slot->image = QImage(mWidth, kBandHeight, QImage::Format_RGB32);
    slot->image.fill(ToQColor(mBackColor));
    for (uint32_t index : mBandOps[static_cast<size_t>(band)]) ApplyOp(mOps[index], slot->image, band * kBandHeight);
  }
  slot->used = ++mUseCounter;
  return slot->image;
}

const QImage& SurfaceCanvas::Image() const {
  if (mRecorded) {
    if (mImageStale || mRender.isNull()) mRender = Region(QRect(0, 0, mWidth, mHeight));
    mImageStale = false;
    return mRender;
  }
  if (mImage.height() == mHeight) return mImage;
  if (mImageStale || mRender.isNull()) mRender = mImage.copy(0, 0, mWidth, mHeight);
  mImageStale = false;
  return mRender;
}

QImage SurfaceCanvas::Region(const QRect& rect) const {
  QImage out(std::max(rect.width(), 1), std::max(rect.height(), 1), QImage::Format_RGB32);
  out.fill(ToQColor(mBackColor));
  QPainter p(&out);
  p.translate(-rect.topLeft());
  PaintTo(p, rect);
  p.end();
  return out;
}

void SurfaceCanvas::PaintTo(QPainter& painter, const QRect& rect) const {
  const QRect area = rect.intersected(QRect(0, 0, mWidth, mHeight));
  if (area.isEmpty()) return;
  if (!mRecorded) {
    painter.drawImage(area.topLeft(), mImage, area);
    return;
  }
  for (int b = area.top() / kBandHeight; b <= area.bottom() / kBandHeight; ++b) {
    const QRect bandRect(0, b * kBandHeight, mWidth, kBandHeight);
    const QRect part = area.intersected(bandRect);
    if (part.isEmpty()) continue;
    painter.drawImage(part.topLeft(), BandImage(b), part.translated(0, -b * kBandHeight));
  }
}

size_t SurfaceCanvas::MemoryUse() const {
  size_t bytes = static_cast<size_t>(mImage.sizeInBytes()) + static_cast<size_t>(mPicture.sizeInBytes());
  bytes += mOps.capacity() * sizeof(Op);
  for (const Op& op : mOps) {
    bytes += static_cast<size_t>(op.text.capacity()) * 2 + op.pieces.capacity() * sizeof(op.pieces[0]) +
             static_cast<size_t>(op.image.sizeInBytes());
  }
  for (const auto& ops : mBandOps) bytes += ops.capacity() * sizeof(uint32_t);
  for (const auto& band : mBands) {
    if (band) bytes += static_cast<size_t>(band->image.sizeInBytes());
  }
  return bytes;
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
  const QFont qfont = ToQFont(mFont);
  auto kept = std::find_if(mFonts.begin(), mFonts.end(), [&](const auto& entry) { return entry->Font == qfont; });
  if (kept != mFonts.end()) {
    std::rotate(mFonts.begin(), kept, kept + 1);
  } else {
    auto entry = std::make_shared<FontEntry>();
    entry->Font = qfont;
    entry->Metrics = std::make_unique<QFontMetrics>(qfont);
    mFonts.insert(mFonts.begin(), std::move(entry));
    if (mFonts.size() > kKeptFonts) mFonts.pop_back();
  }
  mCurrentFont = mFonts.front();
  mMetrics = mCurrentFont->Metrics.get();
}

void SurfaceCanvas::SetBackColor(OleColor color) {
  // As on the original platform, a new back colour clears the surface.
  mBackColor = color;
  Cls();
}

int SurfaceCanvas::AdvancePx(uint32_t cp, const std::string& text) const {
  auto& cache = mCurrentFont->Advance;
  auto it = cache.constFind(cp);
  if (it == cache.constEnd()) it = cache.insert(cp, mMetrics->horizontalAdvance(ToQ(text)));
  return *it;
}

double SurfaceCanvas::TextWidth(const std::string& text) const {
  if (const uint32_t cp = SingleCharacter(text)) return FromPxX(AdvancePx(cp, text));
  int widest = 0;
  for (const QString& line : LinesOf(text)) widest = std::max(widest, mMetrics->horizontalAdvance(line));
  return FromPxX(widest);
}

double SurfaceCanvas::TextHeight(const std::string& text) const {
  const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
  return FromPxY(mMetrics->height() * static_cast<int>(lines));
}

void SurfaceCanvas::PrintRun(int x, int y, const QString& text) {
  const QRgb rgb = ToRgb(mForeColor);
  // Text right after text on the same row, in the same font and colour,
  // joins the same record unless a rendered band needs the new piece.
  if (mRecorded && !mOps.empty()) {
    Op& prev = mOps.back();
    if (prev.kind == Op::Text && prev.y1 == y && prev.font == mCurrentFont && prev.rgb == rgb &&
        prev.pieces.size() < 4096) {
      const int first = std::max(0, y / kBandHeight);
      const int last = std::min(static_cast<int>(mBandOps.size()) - 1, (prev.y2 - 1) / kBandHeight);
      bool rendered = false;
      for (int b = first; b <= last; ++b) rendered = rendered || mBands[static_cast<size_t>(b)] != nullptr;
      if (!rendered) {
        prev.pieces.emplace_back(x, static_cast<int>(prev.text.size()));
        prev.text += text;
        mImageStale = true;
        return;
      }
    }
  }
  Op op;
  op.kind = Op::Text;
  op.y1 = y;
  op.y2 = y + mMetrics->height();
  op.x2 = mMetrics->ascent();
  op.rgb = rgb;
  op.font = mCurrentFont;
  op.text = text;
  op.pieces.emplace_back(x, 0);
  Record(std::move(op));
}

void SurfaceCanvas::Print(const std::string& text, bool lineEnd) {
  const QFontMetrics& fm = *mMetrics;
  int x = ToPxX(mCurrentX);
  int y = ToPxY(mCurrentY);
  if (text.find('\n') == std::string::npos) {
    if (!text.empty()) {
      const QString line = ToQ(text);
      PrintRun(x, y, line);
      const uint32_t cp = SingleCharacter(text);
      x += cp ? AdvancePx(cp, text) : fm.horizontalAdvance(line);
    }
  } else {
    const QStringList lines = LinesOf(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (!lines[i].isEmpty()) PrintRun(x, y, lines[i]);
      if (i + 1 < lines.size()) {
        x = 0;
        y += fm.height();
      } else {
        x += fm.horizontalAdvance(lines[i]);
      }
    }
  }
  if (lineEnd) {
    mCurrentX = 0;
    mCurrentY = FromPxY(y + fm.height());
  } else {
    mCurrentX = FromPxX(x);
    mCurrentY = FromPxY(y);
  }
  Changed();
}

void SurfaceCanvas::LinePx(int x1, int y1, int x2, int y2, QRgb rgb) {
  Op op;
  op.kind = Op::Line;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  op.rgb = rgb;
  Record(std::move(op));
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

void SurfaceCanvas::RecordRectangle(int kind, double x1, double y1, double x2, double y2, OleColor color) {
  Op op;
  op.kind = static_cast<decltype(op.kind)>(kind);
  op.x1 = ToPxX(x1);
  op.y1 = ToPxY(y1);
  op.x2 = ToPxX(x2);
  op.y2 = ToPxY(y2);
  op.rgb = ToRgb(color);
  Record(std::move(op));
  mCurrentX = x2;
  mCurrentY = y2;
  Changed();
}

void SurfaceCanvas::Box(double x1, double y1, double x2, double y2, OleColor color) {
  RecordRectangle(Op::Box, x1, y1, x2, y2, color);
}

void SurfaceCanvas::FillBox(double x1, double y1, double x2, double y2, OleColor color) {
  RecordRectangle(Op::Fill, x1, y1, x2, y2, color);
}

void SurfaceCanvas::Cls() {
  if (mRecorded) {
    mOps.clear();
    mPictureBytes = 0;
    for (auto& ops : mBandOps) ops.clear();
    for (auto& band : mBands) band.reset();
    mImageStale = true;
  } else {
    // Only the rows drawn on since the last fill need filling again.
    const QRgb rgb = ToRgb(mBackColor);
    if (rgb != mFillRgb) {
      mImage.fill(ToQColor(mBackColor));
    } else if (mDirtyTop <= mDirtyBottom) {
      QPainter p(&mImage);
      p.fillRect(QRect(0, mDirtyTop, mImage.width(), mDirtyBottom - mDirtyTop + 1), ToQColor(mBackColor));
    }
    mFillRgb = rgb;
    mDirtyTop = std::numeric_limits<int>::max();
    mDirtyBottom = -1;
    mImageStale = true;
  }
  if (!mPicture.isNull()) DrawImage(QRect(QPoint(0, 0), mPicture.size()), mPicture);
  mCurrentX = 0;
  mCurrentY = 0;
  Changed();
}

void SurfaceCanvas::SetPicture(const QImage& picture) {
  mPicture = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  Cls();
}

namespace {

// The smallest rectangle outside which every pixel has the colour c.
QRect ExtentOtherThan(const QImage& image, QRgb c) {
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] == c) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The same pixels with a colour table when they have 256 colours or fewer
// (text and rules on a plain background have a few dozen): a quarter of the
// memory, exactly the same picture.
QImage Compact(const QImage& image) {
  // Colours to table indexes: an open-addressed table of 1024 slots, with
  // the previous pixel's colour tried first (runs of one colour are long).
  constexpr uint32_t kSlots = 1024;
  std::array<QRgb, kSlots> keys{};
  std::array<int16_t, kSlots> values;
  values.fill(-1);
  QList<QRgb> table;
  QImage out(image.size(), QImage::Format_Indexed8);
  QRgb last = 0;
  int lastIndex = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* line = out.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = row[x];
      if (c != last || lastIndex < 0) {
        uint32_t slot = (c * 2654435761u) >> 22;
        while (values[slot] >= 0 && keys[slot] != c) slot = (slot + 1) % kSlots;
        if (values[slot] < 0) {
          if (table.size() == 256) return image;
          keys[slot] = c;
          values[slot] = static_cast<int16_t>(table.size());
          table.push_back(c);
        }
        last = c;
        lastIndex = values[slot];
      }
      line[x] = static_cast<uchar>(lastIndex);
    }
  }
  out.setColorTable(table);
  return out;
}

}  // namespace

void SurfaceCanvas::DrawImage(const QRect& dst, const QImage& image) {
  if (dst.isEmpty() || image.isNull()) return;
  Op op;
  op.kind = Op::Picture;
  op.x1 = dst.left();
  op.y1 = dst.top();
  op.x2 = dst.left() + dst.width();
  op.y2 = dst.top() + dst.height();
  op.image = image;
  if (mRecorded && mPictureBytes > kCompactPicturesAbove && dst.size() == image.size() &&
      !image.hasAlphaChannel()) {
    // A recording keeps every copy until the surface is cleared. Past a
    // limit (documents of thousands of centred lines) copies are kept
    // small: only the part that is not of one plain colour, in compact
    // form, with the plain colour around it as a filled box.
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QRgb plain = pixels.pixel(0, 0);
    const QRect used = ExtentOtherThan(pixels, plain);
    if (used != pixels.rect()) {
      Op fill;
      fill.kind = Op::Fill;
      fill.x1 = op.x1;
      fill.y1 = op.y1;
      fill.x2 = op.x2 - 1;
      fill.y2 = op.y2 - 1;
      fill.rgb = plain;
      Record(std::move(fill));
    }
    if (used.isEmpty()) {
      Changed();
      return;
    }
    op.x1 = dst.left() + used.left();
    op.y1 = dst.top() + used.top();
    op.x2 = op.x1 + used.width();
    op.y2 = op.y1 + used.height();
    op.image = Compact(pixels.copy(used));
  }
  if (mRecorded) mPictureBytes += static_cast<size_t>(op.image.sizeInBytes());
  Record(std::move(op));
  Changed();
}

void SurfaceCanvas::SetPixel(int32_t x, int32_t y, OleColor color) {
  if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return;
  Op op;
  op.kind = Op::Pixel;
  op.x1 = x;
  op.y1 = y;
  op.rgb = ToRgb(color);
  Record(std::move(op));
  Changed();
}

OleColor SurfaceCanvas::GetPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return 0xFFFFFFFFu;  // CLR_INVALID
  const QRgb c = mRecorded ? BandImage(y / kBandHeight).pixel(x, y % kBandHeight) : mImage.pixel(x, y);
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
