#pragma once
// A check box: caption with an "&" mnemonic (Alt + letter toggles it) and a
// Value of 0 (unchecked), 1 (checked) or 2 (grayed). Click is raised
// whenever Value changes, by the user or by the program, also while the box
// is disabled.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Control.h"

namespace platform {

enum CheckBoxValue : int16_t { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

class ICheckBox : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::CheckBox; }

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual int16_t Value() const = 0;
  // Values other than 0, 1 and 2 are ignored (the old value stays).
  virtual void SetValue(int16_t value) = 0;

  std::function<void()> Click;
};

}  // namespace platform
