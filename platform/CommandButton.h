#pragma once
// A push button. The default button is pressed by Enter anywhere in its
// window, the cancel button by Esc.
#include <functional>
#include <string>

#include "platform/Control.h"

namespace platform {

class ICommandButton : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::CommandButton; }

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Default() const = 0;
  virtual void SetDefault(bool isDefault) = 0;
  virtual bool Cancel() const = 0;
  virtual void SetCancel(bool isCancel) = 0;

  std::function<void()> Click;
};

}  // namespace platform
