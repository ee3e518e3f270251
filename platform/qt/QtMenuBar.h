#pragma once
// The menu bar of a form, built from the form's menu entries.
#include <QMenuBar>
#include <vector>

#include "platform/Menu.h"

namespace platform::qt {

// A menu bar on the window with one entry per visible menu. An entry's
// items are read each time it opens, so that it shows them as they are.
QMenuBar* CreateMenuBar(QWidget& window, const std::vector<Menu*>& menus);

}  // namespace platform::qt
