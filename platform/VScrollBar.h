#pragma once
// A vertical scroll bar: a 16-bit range with small and large steps, and the
// events of a value change, a thumb drag and a key.
#include <algorithm>
#include <cstdint>
#include <functional>

#include "platform/Control.h"

namespace platform {

class IVScrollBar : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::VScrollBar; }

  virtual int16_t Min() const = 0;
  virtual int16_t Max() const = 0;
  // A value outside Min..Max is brought into range. Change follows a change.
  virtual int16_t Value() const = 0;
  virtual void SetMin(int16_t value) = 0;
  virtual void SetMax(int16_t value) = 0;
  virtual void SetValue(int16_t value) = 0;
  virtual int16_t SmallChange() const = 0;
  virtual int16_t LargeChange() const = 0;
  virtual void SetSmallChange(int16_t value) = 0;
  virtual void SetLargeChange(int16_t value) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  // Does what a turn of the mouse wheel over the bar does (delta in eighths
  // of a degree, 120 a notch, positive towards Min): three small steps a
  // notch, a large step with Shift or Ctrl.
  virtual void WheelScroll(int32_t delta, int16_t shift) {
    if (!Enabled() || delta == 0) return;
    const int32_t step = (shift & 3) != 0 ? LargeChange() : 3 * SmallChange();
    const int64_t value = int64_t{Value()} - int64_t{delta} * step / 120;
    SetValue(static_cast<int16_t>(std::clamp<int64_t>(value, Min(), Max())));
  }

  // Value changed (by the program, a click or the end of a drag).
  std::function<void()> Change;
  // The thumb is being dragged.
  std::function<void()> Scroll;
  std::function<void(int16_t& keyCode, int16_t shift)> KeyDown;
};

}  // namespace platform
