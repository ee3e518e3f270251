#pragma once
// A push button over QPushButton. Its "&" mnemonic is a window-wide
// shortcut (Qt's own, active while the button is shown and enabled); the
// default and cancel roles are Enter and Esc shortcuts of the window.
#include <QPushButton>
#include <QShortcut>

#include "platform/CommandButton.h"
#include "platform/qt/QtControl.h"

namespace platform::qt {

class QtCommandButton final : public QtControl<ICommandButton> {
 public:
  QtCommandButton(IControl& container, std::string name, int16_t index);

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  bool TabStop() const override { return mTabStop; }
  void SetTabStop(bool tabStop) override;
  bool Default() const override { return mDefault; }
  void SetDefault(bool isDefault) override;
  bool Cancel() const override { return mCancel; }
  void SetCancel(bool isCancel) override;
  void ZOrder(int16_t position) override;
  void SetValue(bool value) override;

 private:
  QPushButton* Button() const { return static_cast<QPushButton*>(mWidget.data()); }
  bool mTabStop = true;
  bool mDefault = false;
  bool mCancel = false;
  // Owned by the button widget.
  QShortcut* mEnter = nullptr;
  QShortcut* mKeypadEnter = nullptr;
  QShortcut* mEscape = nullptr;
};

}  // namespace platform::qt
