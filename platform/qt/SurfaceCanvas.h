#pragma once
// The drawing state and persistent image behind every form and picture
// surface. Coordinates arrive in scale units and are drawn in pixels;
// lines and boxes are set pixel by pixel so that they are exact.
//
// A small surface keeps its drawing in one image. A large one (a canvas as
// tall as a long document) records what is drawn instead, indexed by bands
// of rows, and renders a band only when it is shown or read, keeping a few
// rendered bands; its memory follows what was drawn, not its area.
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace platform::qt {

class SurfaceCanvas {
 public:
  // twipsPerPixel: the screen's pixel pitch; onChange: called after drawing.
  SurfaceCanvas(double twipsPerPixelX, double twipsPerPixelY, std::function<void()> onChange);
  ~SurfaceCanvas();

  // Follows the widget's size, keeping what was drawn.
  void Resize(int widthPx, int heightPx);
  // The whole drawing as one image (renders it when it is recorded; meant for
  // small surfaces).
  const QImage& Image() const;
  // Paints the given pixel rectangle of the drawing at the same place.
  void PaintTo(QPainter& painter, const QRect& rect) const;
  // A pixel rectangle of the drawing (outside parts in the back colour).
  QImage Region(const QRect& rect) const;
  int WidthPx() const { return mWidth; }
  int HeightPx() const { return mHeight; }
  bool Recorded() const { return mRecorded; }
  // Bytes held by the drawing (images, records, rendered bands).
  size_t MemoryUse() const;

  int16_t ScaleMode() const { return mScaleMode; }
  void SetScaleMode(int16_t mode);
  double ScaleWidth() const { return FromPxX(mWidth); }
  double ScaleHeight() const { return FromPxY(mHeight); }
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

  // The picture under the drawing: Cls clears to it. Empty: none.
  void SetPicture(const QImage& picture);
  bool HasPicture() const { return !mPicture.isNull(); }
  QSize PictureSize() const { return mPicture.size(); }
  // Draws an image into the pixel rectangle dst (scaled when sizes differ).
  void DrawImage(const QRect& dst, const QImage& image);

  // Scale units ↔ pixels.
  int ToPxX(double v) const;
  int ToPxY(double v) const;
  double FromPxX(int px) const;
  double FromPxY(int px) const;

 private:
  struct Op;
  struct Band;

  void Record(Op op);
  // Records a box outline or a filled box (kind: Op::Box or Op::Fill).
  void RecordRectangle(int kind, double x1, double y1, double x2, double y2, OleColor color);
  void PrintRun(int x, int y, const QString& text);
  void MarkDirty(int top, int bottom);
  void ApplyOp(const Op& op, QImage& image, int top) const;
  QImage& BandImage(int band) const;
  void SwitchToRecording();
  void LinePx(int x1, int y1, int x2, int y2, QRgb rgb);
  void Changed() const {
    if (mOnChange) mOnChange();
  }
  int AdvancePx(uint32_t codePoint, const std::string& text) const;

  double mTppX;
  double mTppY;
  std::function<void()> mOnChange;
  int mWidth = 1;
  int mHeight = 1;
  bool mRecorded = false;
  QImage mImage;           // the drawing of a small surface (with room below)
  mutable QImage mRender;  // the whole drawing, rendered for Image()
  mutable bool mImageStale = false;
  QImage mPicture;
  QRgb mFillRgb = 0;
  int mDirtyTop = 0;
  int mDirtyBottom = 0;
  std::vector<Op> mOps;
  size_t mPictureBytes = 0;  // of the pictures the recording keeps
  std::vector<std::vector<uint32_t>> mBandOps;  // op indexes per band of rows
  mutable std::vector<std::unique_ptr<Band>> mBands;
  mutable uint64_t mUseCounter = 0;
  // A font with its metrics and single-character widths. The last few
  // fonts set are kept, most recent first (fitting a text tries many sizes
  // in turn); text records hold the font they were drawn in.
  struct FontEntry {
    QFont Font;
    std::unique_ptr<QFontMetrics> Metrics;
    QHash<uint32_t, int> Advance;
  };
  std::vector<std::shared_ptr<FontEntry>> mFonts;
  std::shared_ptr<FontEntry> mCurrentFont;
  const QFontMetrics* mMetrics = nullptr;
  int16_t mScaleMode = vbTwips;
  double mCurrentX = 0;
  double mCurrentY = 0;
  OleColor mBackColor = SystemColor(COLOR_BTNFACE);
  OleColor mForeColor = SystemColor(COLOR_BTNTEXT);
  int16_t mDrawWidth = 1;
  StdFont mFont;
};

}  // namespace platform::qt
