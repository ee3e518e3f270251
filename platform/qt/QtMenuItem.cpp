#include "platform/qt/QtMenuItem.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtForm.h"

namespace platform::qt {

namespace {

// The check mark the window's code set, kept on the action so that the
// members of a radio group can be shown as set after Qt toggled them.
constexpr const char* kChecked = "kvChecked";

void ShowChecks(QAction* action) {
  const auto set = [](QAction* a) { a->setChecked(a->property(kChecked).toBool()); };
  if (QActionGroup* group = action->actionGroup()) {
    // Unchecked ones first: checking one in the group unchecks the others.
    for (QAction* a : group->actions())
      if (!a->property(kChecked).toBool()) set(a);
    for (QAction* a : group->actions())
      if (a->property(kChecked).toBool()) set(a);
  } else if (action->isCheckable()) {
    set(action);
  }
}

}  // namespace

QtMenuItem::QtMenuItem(QtForm& form, QtMenuItem* parent, const MenuItemStyle& style)
    : mName(style.Name), mIndex(style.Index), mChecked(style.Checked) {
  QMenu* holder = parent ? parent->SubMenu() : nullptr;
  if (!parent) {
    QMenuBar* bar = form.MenuBar();
    if (!bar) return;
    // An entry of the bar is an action of its own until items are made
    // under it: chosen directly, it raises Click.
    mAction = bar->addAction(ToQ(style.Caption));
    mForm = &form;
  } else if (!holder) {
    return;
  } else if (style.Caption == "-") {
    mAction = holder->addSeparator();
  } else {
    mAction = holder->addAction(ToQ(style.Caption));
  }
  if (!style.Shortcut.empty()) mAction->setShortcut(QKeySequence(ToQ(style.Shortcut), QKeySequence::PortableText));
  if (style.RadioCheck && holder) {
    const QString groupName = QStringLiteral("radio:") + ToQ(style.Name);
    auto* group = holder->findChild<QActionGroup*>(groupName, Qt::FindDirectChildrenOnly);
    if (!group) {
      group = new QActionGroup(holder);
      group->setObjectName(groupName);
      group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    }
    mAction->setCheckable(true);
    group->addAction(mAction);
  } else if (style.Checked) {
    mAction->setCheckable(true);
  }
  mAction->setProperty(kChecked, mChecked);
  ShowChecks(mAction);
  mAction->setEnabled(style.Enabled);
  mAction->setVisible(style.Visible);
  QObject::connect(mAction, &QAction::triggered, mAction, [this] { Triggered(); });
  BarChanged();
}

void QtMenuItem::BarChanged() {
  if (mForm) mForm->LayoutClient();
}

QtMenuItem::~QtMenuItem() {
  // A submenu takes the items under it along.
  delete mMenu.data();
  delete mAction.data();
}

QMenu* QtMenuItem::SubMenu() {
  if (!mMenu && mAction) {
    auto* menu = new QMenu(mAction->text(), qobject_cast<QWidget*>(mAction->parent()));
    mAction->setMenu(menu);
    mMenu = menu;
  }
  return mMenu;
}

void QtMenuItem::Triggered() {
  // Qt toggled the check marks; they are the window's to set.
  ShowChecks(mAction);
  if (Click) {
    // The handler runs on its own copy: it may change the menu or close the window.
    auto run = Click;
    run();
  }
}

std::string QtMenuItem::Caption() const {
  if (!mAction) return {};
  return mAction->isSeparator() ? std::string("-") : FromQ(mAction->text());
}
void QtMenuItem::SetCaption(const std::string& caption) {
  if (mAction) mAction->setText(ToQ(caption));
  if (mMenu) mMenu->setTitle(ToQ(caption));
  BarChanged();
}

void QtMenuItem::SetChecked(bool checked) {
  mChecked = checked;
  if (!mAction) return;
  if (checked) mAction->setCheckable(true);
  mAction->setProperty(kChecked, checked);
  ShowChecks(mAction);
}

bool QtMenuItem::Enabled() const { return mAction && mAction->isEnabled(); }
void QtMenuItem::SetEnabled(bool enabled) {
  if (mAction) mAction->setEnabled(enabled);
}
bool QtMenuItem::Visible() const { return mAction && mAction->isVisible(); }
void QtMenuItem::SetVisible(bool visible) {
  if (mAction) mAction->setVisible(visible);
  BarChanged();
}

}  // namespace platform::qt
