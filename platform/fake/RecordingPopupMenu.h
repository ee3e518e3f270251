#pragma once
// Popup menus for tests, installed for its lifetime: records every menu
// shown (its items' captions) and chooses the item named in Choose, if any.
#include <string>
#include <vector>

#include "platform/Services.h"

namespace platform {

class RecordingPopupMenu final : public IPopupMenu {
 public:
  RecordingPopupMenu() : mInstall(*this) {}

  void Show(IForm&, const Menu& menu) override {
    std::vector<std::string> captions;
    for (const PopupMenuItem& item : menu.Items) captions.push_back(item.Caption);
    Shown.push_back(captions);
    if (const PopupMenuItem* item = menu.Item(Choose); item && item->Click) {
      auto run = item->Click;
      run();
    }
  }

  std::vector<std::vector<std::string>> Shown;
  std::string Choose;

 private:
  ScopedService<IPopupMenu> mInstall;
};

}  // namespace platform
