#pragma once
// Menus of a window: a top-level entry with its items, each with its own
// Click event; and the service that pops a menu up at the mouse pointer.
#include <functional>
#include <string>
#include <vector>

namespace platform {

class IForm;

// One item. The caption "-" makes a separator.
struct PopupMenuItem {
  std::string Name;
  std::string Caption;
  std::function<void()> Click;
};

// A top-level menu entry; a hidden one exists only to be popped up.
struct Menu {
  std::string Name;
  std::string Caption;
  bool Visible = true;
  std::vector<PopupMenuItem> Items;
  // A menu-bar entry without items runs this when chosen.
  std::function<void()> Click;

  // The item of that name, or nullptr.
  const PopupMenuItem* Item(const std::string& name) const {
    for (const PopupMenuItem& item : Items) {
      if (item.Name == name) return &item;
    }
    return nullptr;
  }
};

class IPopupMenu {
 public:
  virtual ~IPopupMenu() = default;
  // Shows the menu's items at the mouse pointer over the window and returns
  // when the menu has closed; the chosen item's Click has run by then.
  virtual void Show(IForm& window, const Menu& menu) = 0;
};

}  // namespace platform
