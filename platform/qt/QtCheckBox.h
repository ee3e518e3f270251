#pragma once
// A check box over QCheckBox. Its "&" mnemonic is Qt's own (active while the
// box is shown and enabled).
#include <QCheckBox>

#include "platform/CheckBox.h"
#include "platform/qt/QtControl.h"

namespace platform::qt {

class QtCheckBox final : public QtControl<ICheckBox> {
 public:
  QtCheckBox(IControl& container, std::string name, int16_t index);

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  int16_t Value() const override;
  void SetValue(int16_t value) override;

 private:
  QCheckBox* Box() const { return static_cast<QCheckBox*>(mWidget.data()); }
};

}  // namespace platform::qt
