#pragma once
// A frame (group box) that holds other controls.
#include <string>

#include "platform/Control.h"

namespace platform {

class IFrame : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::Frame; }
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // 0 = no border and no caption area (a plain container), 1 = the framed
  // group box (the default).
  virtual int16_t BorderStyle() const { return 1; }
  virtual void SetBorderStyle(int16_t) {}
  // 0 brings the frame to the front of its container, 1 sends it to the back.
  virtual void ZOrder(int16_t) {}
};

}  // namespace platform
