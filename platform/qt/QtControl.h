#pragma once
// The common part of every control wrapper: the widget it wraps, its name,
// index and container, and geometry in twips.
#include <QPointer>
#include <QWidget>
#include <cmath>
#include <string>

#include "platform/Control.h"
#include "platform/Services.h"

namespace platform::qt {

inline double TppX() { return Screen().TwipsPerPixelX(); }
inline double TppY() { return Screen().TwipsPerPixelY(); }
inline int TwipsToPxX(double v) { return static_cast<int>(std::lround(v / TppX())); }
inline int TwipsToPxY(double v) { return static_cast<int>(std::lround(v / TppY())); }

// What every Qt control wrapper answers: the widget it wraps.
class QtWidgetHolder {
 public:
  virtual ~QtWidgetHolder() = default;
  virtual QWidget* Widget() const = 0;
  // Pixels of the widget above its client area (a window's menu bar):
  // the controls it holds are placed below them.
  virtual int ClientTopPx() const { return 0; }
};

// The Qt widget behind a platform control (nullptr for controls of another backend).
inline QWidget* WidgetOf(const IControl& control) {
  const auto* holder = dynamic_cast<const QtWidgetHolder*>(&control);
  return holder ? holder->Widget() : nullptr;
}

template <typename Interface>
class QtControl : public Interface, public QtWidgetHolder {
 public:
  QtControl(QWidget* widget, std::string name, int16_t index, IControl* container)
      : mWidget(widget), mName(std::move(name)), mIndex(index), mContainer(container) {}
  ~QtControl() override { delete mWidget.data(); }
  QtControl(const QtControl&) = delete;
  QtControl& operator=(const QtControl&) = delete;

  QWidget* Widget() const override { return mWidget.data(); }

  std::string Name() const override { return mName; }
  int16_t Index() const override { return mIndex; }
  IControl* Container() const override { return mContainer; }

  double Left() const override { return mWidget ? mWidget->x() * TppX() : 0; }
  double Top() const override { return mWidget ? (mWidget->y() - ContainerTopPx()) * TppY() : 0; }
  double Width() const override { return mWidget ? mWidget->width() * TppX() : 0; }
  double Height() const override { return mWidget ? mWidget->height() * TppY() : 0; }
  // Left and Top are set as they read back: for a window its outer
  // position (Qt's pos(), frame included), so that storing and restoring a
  // window's place does not shift it by its frame.
  void Move(double left, double top, double width, double height) override {
    if (!mWidget) return;
    mWidget->move(TwipsToPxX(left), TwipsToPxY(top) + ContainerTopPx());
    mWidget->resize(std::max(0, TwipsToPxX(width)), std::max(0, TwipsToPxY(height)));
  }
  bool Visible() const override { return mWidget && !mWidget->isHidden(); }
  void SetVisible(bool visible) override {
    if (mWidget) mWidget->setVisible(visible);
  }
  bool Enabled() const override { return mWidget && !mWidget->testAttribute(Qt::WA_ForceDisabled); }
  void SetEnabled(bool enabled) override {
    if (mWidget) mWidget->setEnabled(enabled);
  }
  void SetFocus() override {
    if (mWidget) mWidget->setFocus(Qt::OtherFocusReason);
  }

 protected:
  // The container's pixels above its client area.
  int ContainerTopPx() const {
    const auto* holder = dynamic_cast<const QtWidgetHolder*>(mContainer);
    return holder ? holder->ClientTopPx() : 0;
  }

  QPointer<QWidget> mWidget;

 private:
  std::string mName;
  int16_t mIndex;
  IControl* mContainer;
};

}  // namespace platform::qt
