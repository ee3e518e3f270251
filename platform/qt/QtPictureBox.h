#pragma once
// A picture surface: a child widget with a persistent drawing surface, an
// optional picture, the control's pointer and tooltip, and its key and mouse
// events.
#include <memory>

#include "platform/PictureBox.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/SurfaceMixin.h"

namespace platform::qt {

class QtPictureBox final : public SurfaceMixin<QtControl<IPictureBox>> {
 public:
  QtPictureBox(IControl& container, std::string name);
  ~QtPictureBox() override;
  void Refresh() override;
  void Move(double left, double top, double width, double height) override;

  int16_t BorderStyle() const override { return mBorderStyle; }
  void SetBorderStyle(int16_t style) override;
  bool AutoRedraw() const override { return mAutoRedraw; }
  void SetAutoRedraw(bool value) override { mAutoRedraw = value; }
  bool AutoSize() const override { return mAutoSize; }
  void SetAutoSize(bool value) override;
  void LoadPicture(const std::string& path) override;
  void ClearPicture() override;
  void PaintPicture(const IPictureBox& source, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                    int32_t dstX, int32_t dstY, int32_t dstWidth, int32_t dstHeight) override;
  bool SaveImage(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) const override;
  int16_t MousePointer() const override { return mPointer; }
  void SetMousePointer(int16_t pointer) override;
  std::string ToolTipText() const override;
  void SetToolTipText(const std::string& text) override;

  // Bytes held by the drawing.
  size_t DrawingMemory() const { return mCanvas->MemoryUse(); }
  // The drawing of a pixel rectangle, for copies and headless rendering.
  QImage Region(const QRect& rect) const { return mCanvas->Region(rect); }

 protected:
  SurfaceCanvas& Canvas() const override { return *mCanvas; }

 private:
  friend class PictureWidget;
  void FitToPicture();
  void SizeChanged();
  QSize mReportedSize;
  std::unique_ptr<SurfaceCanvas> mCanvas;
  bool mInPaint = false;
  int16_t mBorderStyle = 0;
  bool mAutoRedraw = false;
  bool mAutoSize = false;
  int16_t mPointer = 0;
};

}  // namespace platform::qt
