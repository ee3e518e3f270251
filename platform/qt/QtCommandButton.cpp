#include "platform/qt/QtCommandButton.h"

#include <QPushButton>

#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

// A key of the button's whole window; it goes with the button.
QShortcut* WindowKey(QWidget* button, Qt::Key key) {
  auto* shortcut = new QShortcut(QKeySequence(key), button);
  shortcut->setContext(Qt::WindowShortcut);
  return shortcut;
}

}  // namespace

QtCommandButton::QtCommandButton(IControl& container, std::string name, int16_t index)
    : QtControl<ICommandButton>(new QPushButton(WidgetOf(container)), std::move(name), index, &container) {
  auto* button = static_cast<QPushButton*>(mWidget.data());
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this] {
    if (Click) Click();
  });
  mWidget->show();
}

std::string QtCommandButton::Caption() const {
  return mWidget ? FromQ(static_cast<QPushButton*>(mWidget.data())->text()) : std::string();
}
void QtCommandButton::SetCaption(const std::string& caption) {
  if (mWidget) static_cast<QPushButton*>(mWidget.data())->setText(ToQ(caption));
}
bool QtCommandButton::Enabled() const { return mWidget && mWidget->isEnabled(); }
void QtCommandButton::SetEnabled(bool enabled) {
  if (mWidget) mWidget->setEnabled(enabled);
}

// A key press counts only while the button could be clicked.
void QtCommandButton::Press() {
  if (mWidget && mWidget->isEnabled() && mWidget->isVisible()) static_cast<QPushButton*>(mWidget.data())->click();
}

void QtCommandButton::SetDefault(bool isDefault) {
  mDefault = isDefault;
  if (!mWidget) return;
  static_cast<QPushButton*>(mWidget.data())->setDefault(isDefault);
  delete mReturn.data();
  delete mEnter.data();
  if (!isDefault) return;
  mReturn = WindowKey(mWidget, Qt::Key_Return);
  mEnter = WindowKey(mWidget, Qt::Key_Enter);
  QObject::connect(mReturn.data(), &QShortcut::activated, [this] { Press(); });
  QObject::connect(mEnter.data(), &QShortcut::activated, [this] { Press(); });
}

void QtCommandButton::SetCancel(bool isCancel) {
  mCancel = isCancel;
  if (!mWidget) return;
  delete mEscape.data();
  if (!isCancel) return;
  mEscape = WindowKey(mWidget, Qt::Key_Escape);
  QObject::connect(mEscape.data(), &QShortcut::activated, [this] { Press(); });
}

}  // namespace platform::qt
