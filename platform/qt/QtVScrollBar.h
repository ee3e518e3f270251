#pragma once
// A vertical scroll bar over QScrollBar: Change when the value changes (also
// at the end of a thumb drag), Scroll while the thumb is dragged.
#include "platform/VScrollBar.h"
#include "platform/qt/QtControl.h"

class QScrollBar;

namespace platform::qt {

class QtVScrollBar final : public QtControl<IVScrollBar> {
 public:
  QtVScrollBar(IControl& container, std::string name);

  int16_t Min() const override;
  int16_t Max() const override;
  int16_t Value() const override;
  void SetMin(int16_t value) override;
  void SetMax(int16_t value) override;
  void SetValue(int16_t value) override;
  int16_t SmallChange() const override;
  int16_t LargeChange() const override;
  void SetSmallChange(int16_t value) override;
  void SetLargeChange(int16_t value) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  // The bar's own wheel handling, so the desktop's scroll settings apply.
  void WheelScroll(int32_t delta, int16_t shift) override;

 private:
  QScrollBar* Bar() const;
};

}  // namespace platform::qt
