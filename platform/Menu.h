#pragma once
// Menus: a menu item is a caption ("-" for a separator), a check mark, an
// enabled state and a Click event; an item with Items is a submenu. Windows
// hold their items as members and list them in their menus; PopupMenu shows
// one at the pointer and runs the chosen item's Click before it returns.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Services.h"

namespace platform {

struct Menu {
  std::string Name;
  int16_t Index = -1;  // the element's index in its menu control array
  std::string Caption;  // "&" marks the access key; "-" is a separator
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  std::vector<Menu*> Items;  // not owned

  std::function<void()> Click;
};

class IMenus {
 public:
  virtual ~IMenus() = default;
  // Shows the menu's items as a popup menu at the pointer, modal to the
  // window; the chosen item's Click runs before this returns.
  virtual void PopupMenu(IForm& window, Menu& menu) = 0;
};

inline IMenus& Menus() { return ServiceSlot<IMenus>::Get(); }

}  // namespace platform
