#pragma once
// A push button (QPushButton); Enter and Esc reach the default and cancel
// buttons through window shortcuts.
#include <QPointer>
#include <QShortcut>

#include "platform/CommandButton.h"
#include "platform/qt/QtControl.h"

namespace platform::qt {

class QtCommandButton final : public QtControl<ICommandButton> {
 public:
  QtCommandButton(IControl& container, std::string name, int16_t index);

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  bool Default() const override { return mDefault; }
  void SetDefault(bool isDefault) override;
  bool Cancel() const override { return mCancel; }
  void SetCancel(bool isCancel) override;

 private:
  void Press();

  bool mDefault = false;
  bool mCancel = false;
  QPointer<QShortcut> mEnter, mReturn, mEscape;
};

}  // namespace platform::qt
