#pragma once
// A form: a top-level Qt widget with a persistent drawing surface.
#include <QEventLoop>
#include <QMenuBar>
#include <QPointer>
#include <memory>

#include "platform/Form.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/SurfaceMixin.h"

namespace platform::qt {

class FormWidget;
class FormMessages;

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
  void Activate() override;
  void Unload() override;
  void ZOrder(int16_t position) override;
  // Closes the window as its close box does (unload mode 0).
  void CloseByUser();
  void Refresh() override;
  void BeginSystemMove() override;
  HWND hWnd() const override;
  // On X11 the position the window really has: the window manager may have
  // moved it since Qt last heard of it.
  double Left() const override;
  double Top() const override;
  // The window manager showed the iconified window again at the user's
  // request: WM_SYSCOMMAND SC_RESTORE through the window's procedure.
  void RestoredBySystem();
  // The size stays within the track sizes of the window's procedure. Hidden
  // widgets get their resize event only when shown; the surface follows the
  // new size at once.
  void Move(double left, double top, double width, double height) override;

  const FormStyle& Style() const { return mStyle; }

  // The widget child controls go on: the client area below the menu bar
  // when the window has one, else the window itself.
  QWidget* Widget() const override;
  // The window's own (top-level) widget.
  QWidget* WindowWidget() const { return mWidget.data(); }
  // The window's menu bar, made when the first menu is; the client area
  // (child controls, drawing, mouse positions) then starts below it.
  QMenuBar* MenuBar();
  // Places the menu bar and the client area; the surface follows the
  // client. Called when the bar's menus change.
  void LayoutClient();

 protected:
  SurfaceCanvas& Canvas() const override { return *mCanvas; }

 private:
  friend class FormWidget;
  void KeepQuitOnClose();
  // A shown, not minimised window on an X display: its real place can be
  // asked for.
  bool Placed() const;
  int ClientTop() const { return mClient ? mClient->y() : 0; }
  // The loop of ShowModal while it runs; hiding the window ends it.
  QEventLoop* mModalLoop = nullptr;
  FormStyle mStyle;
  std::unique_ptr<SurfaceCanvas> mCanvas;
  std::unique_ptr<FormMessages> mMessages;
  bool mInPaint = false;
  int16_t mUnloadMode = 0;  // 1 while the program's Unload closes the window
  bool mNeedsPaint = true;  // the image must be drawn again (new, resized, Refresh)
  QPointer<QMenuBar> mMenuBar;
  QPointer<QWidget> mClient;
};

}  // namespace platform::qt
