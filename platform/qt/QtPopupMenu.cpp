#include "platform/qt/QtPopupMenu.h"

#include <QCursor>
#include <QMenu>

#include "platform/Form.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {

void QtPopupMenu::Show(IForm& window, const Menu& menu) {
  QMenu popup(WidgetOf(window));
  std::vector<std::pair<QAction*, std::function<void()>>> actions;
  for (const PopupMenuItem& item : menu.Items) {
    if (item.Caption == "-") {
      popup.addSeparator();
    } else {
      actions.emplace_back(popup.addAction(ToQ(item.Caption)), item.Click);
    }
  }
  QAction* chosen = popup.exec(QCursor::pos());
  // The handler runs after the menu has closed, with its own copy of the
  // event: it may change the menu or close the window.
  for (auto& [action, click] : actions) {
    if (action == chosen && click) {
      auto run = click;
      run();
      break;
    }
  }
}

}  // namespace platform::qt
