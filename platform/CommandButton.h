#pragma once
// A push button: caption with an "&" mnemonic (Alt + letter clicks it),
// default and cancel roles, tab order and z-order, and its Click event.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Control.h"

namespace platform {

class ICommandButton : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::CommandButton; }

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // False takes the button out of the tab order; it then never takes the
  // keyboard focus, not even through its mnemonic.
  virtual bool TabStop() const = 0;
  virtual void SetTabStop(bool tabStop) = 0;
  // Enter clicks the default button of the window, Esc its cancel button.
  virtual bool Default() const = 0;
  virtual void SetDefault(bool isDefault) = 0;
  virtual bool Cancel() const = 0;
  virtual void SetCancel(bool isCancel) = 0;
  // 0 brings the button to the front of its container, 1 sends it to the back.
  virtual void ZOrder(int16_t position) = 0;
  // Setting Value to true clicks the button, as the user does.
  virtual void SetValue(bool value) = 0;

  std::function<void()> Click;
};

}  // namespace platform
