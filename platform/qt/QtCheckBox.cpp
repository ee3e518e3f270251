#include "platform/qt/QtCheckBox.h"

#include "platform/qt/QtConvert.h"

namespace platform::qt {

QtCheckBox::QtCheckBox(IControl& container, std::string name, int16_t index)
    : QtControl<ICheckBox>(new QCheckBox(WidgetOf(container)), std::move(name), index, &container) {
  // A change of state by the user or by the program is a click. Once out of
  // the grayed state, the user's clicks only check and uncheck.
  QObject::connect(Box(), &QCheckBox::stateChanged, [this](int state) {
    if (state != Qt::PartiallyChecked && Box()) Box()->setTristate(false);
    if (Click) Click();
  });
  mWidget->show();
}

std::string QtCheckBox::Caption() const { return Box() ? FromQ(Box()->text()) : std::string(); }
void QtCheckBox::SetCaption(const std::string& caption) {
  if (Box()) Box()->setText(ToQ(caption));
}

int16_t QtCheckBox::Value() const {
  if (!Box()) return vbUnchecked;
  switch (Box()->checkState()) {
    case Qt::Checked: return vbChecked;
    case Qt::PartiallyChecked: return vbGrayed;
    default: return vbUnchecked;
  }
}

void QtCheckBox::SetValue(int16_t value) {
  if (!Box() || value < vbUnchecked || value > vbGrayed) return;
  // The grayed state is the program's to set.
  if (value == vbGrayed) Box()->setTristate(true);
  Box()->setCheckState(value == vbChecked ? Qt::Checked : value == vbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

}  // namespace platform::qt
