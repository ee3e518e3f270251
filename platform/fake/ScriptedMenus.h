#pragma once
// Popup menus for tests: record the captions of every menu popped up and
// choose the item named next in Choices (nothing once they are used up).
// Installed for its lifetime.
#include <deque>
#include <string>
#include <vector>

#include "platform/Menu.h"

namespace platform {

class ScriptedMenus final : public IMenus {
 public:
  ScriptedMenus() : mInstall(*this) {}

  void PopupMenu(IForm&, Menu& menu) override {
    std::vector<std::string> captions;
    for (const Menu* item : menu.Items) captions.push_back(item->Caption);
    Shown.push_back({menu.Name, captions});
    if (Choices.empty()) return;
    const std::string choice = Choices.front();
    Choices.pop_front();
    for (Menu* item : menu.Items) {
      if (item->Name == choice && item->Enabled && item->Visible && item->Click) {
        item->Click();
        return;
      }
    }
  }

  struct Popup {
    std::string Name;
    std::vector<std::string> Captions;
  };
  std::vector<Popup> Shown;
  std::deque<std::string> Choices;

 private:
  ScopedService<IMenus> mInstall;
};

}  // namespace platform
