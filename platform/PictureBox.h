#pragma once
// A picture surface: a child control that is also a drawing surface with a
// persistent image.
#include <functional>

#include "platform/Control.h"
#include "platform/Surface.h"

namespace platform {

class IPictureBox : public IControl, public ISurface {
 public:
  ControlKind Kind() const override { return ControlKind::PictureBox; }

  std::function<void()> Paint;
  std::function<void()> Resize;
};

}  // namespace platform
