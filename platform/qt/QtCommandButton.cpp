#include "platform/qt/QtCommandButton.h"

#include "platform/qt/QtConvert.h"

namespace platform::qt {

namespace {
QShortcut* RoleShortcut(QPushButton* button, Qt::Key key) {
  auto* shortcut = new QShortcut(QKeySequence(key), button);
  shortcut->setContext(Qt::WindowShortcut);
  shortcut->setEnabled(false);
  QObject::connect(shortcut, &QShortcut::activated, button, [button] {
    if (button->isEnabled()) button->click();
  });
  return shortcut;
}
}  // namespace

QtCommandButton::QtCommandButton(IControl& container, std::string name, int16_t index)
    : QtControl<ICommandButton>(new QPushButton(WidgetOf(container)), std::move(name), index, &container) {
  Button()->setAutoDefault(false);
  Button()->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(Button(), &QPushButton::clicked, [this] {
    if (Click) Click();
  });
  mEnter = RoleShortcut(Button(), Qt::Key_Return);
  mKeypadEnter = RoleShortcut(Button(), Qt::Key_Enter);
  mEscape = RoleShortcut(Button(), Qt::Key_Escape);
  mWidget->show();
}

std::string QtCommandButton::Caption() const { return Button() ? FromQ(Button()->text()) : std::string(); }
void QtCommandButton::SetCaption(const std::string& caption) {
  if (Button()) Button()->setText(ToQ(caption));
}

void QtCommandButton::SetTabStop(bool tabStop) {
  mTabStop = tabStop;
  if (Button()) Button()->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void QtCommandButton::SetDefault(bool isDefault) {
  mDefault = isDefault;
  if (!Button()) return;
  Button()->setDefault(isDefault);
  mEnter->setEnabled(isDefault);
  mKeypadEnter->setEnabled(isDefault);
}

void QtCommandButton::SetCancel(bool isCancel) {
  mCancel = isCancel;
  if (Button()) mEscape->setEnabled(isCancel);
}

void QtCommandButton::ZOrder(int16_t position) {
  if (!Button()) return;
  if (position == 0) Button()->raise();
  else Button()->lower();
}

void QtCommandButton::SetValue(bool value) {
  if (value && Button()) Button()->click();
}

}  // namespace platform::qt
