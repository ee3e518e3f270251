#include "platform/qt/QtMenuBar.h"

#include <QMenu>

#include "platform/qt/QtConvert.h"

namespace platform::qt {

QMenuBar* CreateMenuBar(QWidget& window, const std::vector<Menu*>& menus) {
  auto* bar = new QMenuBar(&window);
  // In the window, also on desktops that collect menus in a global bar.
  bar->setNativeMenuBar(false);
  for (Menu* menu : menus) {
    if (!menu || !menu->Visible) continue;
    if (menu->Items.empty()) {
      QAction* action = bar->addAction(ToQ(menu->Caption));
      QObject::connect(action, &QAction::triggered, bar, [menu] {
        if (menu->Click) menu->Click();
      });
      continue;
    }
    QMenu* drop = bar->addMenu(ToQ(menu->Caption));
    const auto fill = [drop, menu] {
      drop->clear();
      for (size_t i = 0; i < menu->Items.size(); ++i) {
        const PopupMenuItem& item = menu->Items[i];
        if (item.Caption == "-") {
          drop->addSeparator();
          continue;
        }
        // The item is found again by its position when chosen: a handler may
        // have changed the list meanwhile.
        QAction* action = drop->addAction(ToQ(item.Caption));
        QObject::connect(action, &QAction::triggered, drop, [menu, i] {
          if (i < menu->Items.size() && menu->Items[i].Click) menu->Items[i].Click();
        });
      }
    };
    fill();
    QObject::connect(drop, &QMenu::aboutToShow, drop, fill);
  }
  return bar;
}

}  // namespace platform::qt
