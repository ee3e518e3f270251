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
};

}  // namespace platform
