#include "common/basControl.h"

#include "platform/Color.h"

namespace basControl {

int16_t CheckObjects(const platform::IControl* object) {
  if (!object) return objOther;
  if (object->Kind() == platform::ControlKind::Form) return objForm;
  return object->Index() >= 0 ? objArrayElement : objControl;
}

int16_t CheckObjects(const platform::IControlArray&) { return objControlArray; }

bool MakeTextBoxLabel(platform::ITextBox& textBox) {
  textBox.SetLocked(true);
  textBox.SetBackColor(platform::SystemColor(platform::COLOR_BTNFACE));
  return textBox.BorderStyle() == 0;
}

void FillListFromArray(platform::IListControl& list, const std::vector<std::string>& items, std::optional<bool> reset) {
  const bool clear = reset.value_or(false);
  if (clear) list.Clear();
  for (const std::string& item : items) list.AddItem(item);
  if (clear && list.ListCount() > 0) list.SetListIndex(0);
}

}  // namespace basControl
