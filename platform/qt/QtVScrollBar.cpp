#include "platform/qt/QtVScrollBar.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QScrollBar>

#include "platform/Form.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

class ScrollBarWidget final : public QScrollBar {
 public:
  ScrollBarWidget(QtVScrollBar& bar, QWidget* parent) : QScrollBar(Qt::Vertical, parent), mBar(bar) {}

 protected:
  // The owner's key handler decides what keys do; without one the bar
  // handles them itself.
  void keyPressEvent(QKeyEvent* e) override {
    int16_t code = VbKeyCode(e->key());
    if (mBar.KeyDown && code != 0) mBar.KeyDown(code, VbShift(e->modifiers()));
    else QScrollBar::keyPressEvent(e);
  }

 private:
  QtVScrollBar& mBar;
};

}  // namespace

QtVScrollBar::QtVScrollBar(IControl& container, std::string name)
    : QtControl<IVScrollBar>(nullptr, std::move(name), -1, &container) {
  auto* bar = new ScrollBarWidget(*this, WidgetOf(container));
  bar->setTracking(false);
  bar->setRange(0, 32767);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(bar, &QScrollBar::valueChanged, bar, [this](int) {
    if (Change) Change();
  });
  QObject::connect(bar, &QScrollBar::sliderMoved, bar, [this](int) {
    if (Scroll) Scroll();
  });
  mWidget = bar;
  bar->show();
}

QScrollBar* QtVScrollBar::Bar() const { return static_cast<QScrollBar*>(mWidget.data()); }

int16_t QtVScrollBar::Min() const { return mWidget ? static_cast<int16_t>(Bar()->minimum()) : 0; }
int16_t QtVScrollBar::Max() const { return mWidget ? static_cast<int16_t>(Bar()->maximum()) : 0; }
// While the thumb is dragged the value is where the thumb is.
int16_t QtVScrollBar::Value() const {
  if (!mWidget) return 0;
  return static_cast<int16_t>(Bar()->isSliderDown() ? Bar()->sliderPosition() : Bar()->value());
}
void QtVScrollBar::SetMin(int16_t value) {
  if (mWidget) Bar()->setMinimum(value);
}
void QtVScrollBar::SetMax(int16_t value) {
  if (mWidget) Bar()->setMaximum(value);
}
void QtVScrollBar::SetValue(int16_t value) {
  if (mWidget) Bar()->setValue(value);
}
int16_t QtVScrollBar::SmallChange() const { return mWidget ? static_cast<int16_t>(Bar()->singleStep()) : 1; }
int16_t QtVScrollBar::LargeChange() const { return mWidget ? static_cast<int16_t>(Bar()->pageStep()) : 1; }
void QtVScrollBar::SetSmallChange(int16_t value) {
  if (mWidget && value >= 1) Bar()->setSingleStep(value);
}
void QtVScrollBar::SetLargeChange(int16_t value) {
  if (mWidget && value >= 1) Bar()->setPageStep(value);
}
bool QtVScrollBar::Enabled() const { return mWidget && mWidget->isEnabled(); }
void QtVScrollBar::SetEnabled(bool enabled) {
  if (mWidget) mWidget->setEnabled(enabled);
}

void QtVScrollBar::WheelScroll(int32_t delta, int16_t shift) {
  if (!mWidget || !mWidget->isEnabled() || delta == 0) return;
  Qt::KeyboardModifiers modifiers;
  if (shift & vbShiftMask) modifiers |= Qt::ShiftModifier;
  if (shift & vbCtrlMask) modifiers |= Qt::ControlModifier;
  if (shift & vbAltMask) modifiers |= Qt::AltModifier;
  const QPointF centre(mWidget->width() / 2.0, mWidget->height() / 2.0);
  QWheelEvent wheel(centre, mWidget->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(mWidget, &wheel);
}

}  // namespace platform::qt
