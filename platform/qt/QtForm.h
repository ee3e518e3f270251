#pragma once
// A form: a top-level Qt widget with a persistent drawing surface.
#include <QEventLoop>
#include <memory>

#include "platform/Form.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/SurfaceMixin.h"

namespace platform::qt {

class FormWidget;

class QtForm final : public SurfaceMixin<QtControl<IForm>> {
 public:
  explicit QtForm(const FormStyle& style);
  ~QtForm() override;

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  int16_t WindowState() const override;
  void SetWindowState(int16_t state) override;
  bool TopMost() const override;
  void SetTopMost(bool topMost) override;
  void Show() override;
  void ShowModal() override;
  void Hide() override;
  void Unload() override;
  void Refresh() override;
  // Hidden widgets get their resize event only when shown; the surface
  // follows the new size at once.
  // Left and Top are the outer position, as they read back (Qt's pos()),
  // so that storing and restoring a window does not shift it by its frame.
  void Move(double left, double top, double width, double height) override {
    if (!mWidget) return;
    mWidget->move(TwipsToPxX(left), TwipsToPxY(top));
    mWidget->resize(std::max(0, TwipsToPxX(width)), std::max(0, TwipsToPxY(height)));
    mCanvas->Resize(mWidget->width(), mWidget->height());
  }

  const FormStyle& Style() const { return mStyle; }

 protected:
  SurfaceCanvas& Canvas() const override { return *mCanvas; }

 private:
  friend class FormWidget;
  FormStyle mStyle;
  std::unique_ptr<SurfaceCanvas> mCanvas;
  bool mInPaint = false;
  // The loop of ShowModal while it runs; hiding the window ends it.
  QEventLoop* mModalLoop = nullptr;
};

}  // namespace platform::qt
