#include "platform/qt/QtMenus.h"

#include <QCursor>
#include <QMenu>

#include "platform/qt/QtControl.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

// Fills a QMenu with the visible items; each action remembers its item.
void Fill(QMenu& target, const Menu& menu) {
  for (Menu* item : menu.Items) {
    if (!item->Visible) continue;
    if (item->Caption == "-") {
      target.addSeparator();
      continue;
    }
    if (!item->Items.empty()) {
      QMenu* sub = target.addMenu(ToQ(item->Caption));
      sub->setEnabled(item->Enabled);
      Fill(*sub, *item);
      continue;
    }
    QAction* action = target.addAction(ToQ(item->Caption));
    action->setEnabled(item->Enabled);
    action->setCheckable(item->Checked);
    action->setChecked(item->Checked);
    action->setData(QVariant::fromValue(static_cast<void*>(item)));
  }
}

}  // namespace

void QtMenus::PopupMenu(IForm& window, Menu& menu) {
  QMenu popup(WidgetOf(window));
  Fill(popup, menu);
  QAction* chosen = popup.exec(QCursor::pos());
  // The item's handler runs after the menu has closed.
  Menu* item = chosen ? static_cast<Menu*>(chosen->data().value<void*>()) : nullptr;
  if (item && item->Click) item->Click();
}

}  // namespace platform::qt
