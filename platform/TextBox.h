#pragma once
// A text box.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Color.h"
#include "platform/Control.h"

namespace platform {

class ITextBox : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::TextBox; }

  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool Locked() const = 0;
  virtual void SetLocked(bool locked) = 0;
  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;
  // 0 = none, 1 = fixed single.
  virtual int16_t BorderStyle() const = 0;
  virtual void SetBorderStyle(int16_t style) = 0;

  std::function<void()> Change;
};

}  // namespace platform
