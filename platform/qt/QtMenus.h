#pragma once
// Popup menus as QMenu.
#include "platform/Menu.h"

namespace platform::qt {

class QtMenus final : public IMenus {
 public:
  void PopupMenu(IForm& window, Menu& menu) override;
};

}  // namespace platform::qt
