#pragma once
// A picture surface: a child widget with a persistent drawing surface.
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
  // Hidden widgets get their resize event only when shown; the surface
  // follows the new size at once.
  void Move(double left, double top, double width, double height) override {
    QtControl::Move(left, top, width, height);
    if (mWidget) mCanvas->Resize(mWidget->width(), mWidget->height());
  }

 protected:
  SurfaceCanvas& Canvas() const override { return *mCanvas; }

 private:
  friend class PictureWidget;
  std::unique_ptr<SurfaceCanvas> mCanvas;
  bool mInPaint = false;
};

}  // namespace platform::qt
