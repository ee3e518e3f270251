#pragma once
// Popup menus as QMenu, shown at the pointer.
#include "platform/Menu.h"

namespace platform::qt {

class QtPopupMenu final : public IPopupMenu {
 public:
  void Show(IForm& window, const Menu& menu) override;
};

}  // namespace platform::qt
