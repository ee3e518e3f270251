#include "platform/qt/QtControlFactory.h"

#include "platform/qt/QtCheckBox.h"
#include "platform/qt/QtCommandButton.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtLabel.h"
#include "platform/qt/QtMenuItem.h"
#include "platform/qt/QtMultiLineTextBox.h"
#include "platform/qt/QtPictureBox.h"
#include "platform/qt/QtSimpleControls.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtVScrollBar.h"

namespace platform::qt {

std::unique_ptr<IForm> QtControlFactory::CreateForm(const FormStyle& style) { return std::make_unique<QtForm>(style); }
std::unique_ptr<ILabel> QtControlFactory::CreateLabel(IControl& container, const std::string& name, int16_t index) {
  return std::make_unique<QtLabel>(container, name, index);
}
std::unique_ptr<ITextBox> QtControlFactory::CreateTextBox(IControl& container, const std::string& name) {
  return std::make_unique<QtTextBox>(container, name);
}
std::unique_ptr<IListControl> QtControlFactory::CreateComboBox(IControl& container, const std::string& name) {
  return std::make_unique<QtComboBox>(container, name);
}
std::unique_ptr<IListControl> QtControlFactory::CreateListBox(IControl& container, const std::string& name) {
  return std::make_unique<QtListBox>(container, name);
}
std::unique_ptr<IFrame> QtControlFactory::CreateFrame(IControl& container, const std::string& name) {
  return std::make_unique<QtFrame>(container, name);
}
std::unique_ptr<ILine> QtControlFactory::CreateLine(IControl& container, const std::string& name, int16_t index) {
  return std::make_unique<QtLine>(container, name, index);
}
std::unique_ptr<IPictureBox> QtControlFactory::CreatePictureBox(IControl& container, const std::string& name) {
  return std::make_unique<QtPictureBox>(container, name);
}
std::unique_ptr<IVScrollBar> QtControlFactory::CreateVScrollBar(IControl& container, const std::string& name) {
  return std::make_unique<QtVScrollBar>(container, name);
}
std::unique_ptr<ICommandButton> QtControlFactory::CreateCommandButton(IControl& container, const std::string& name,
                                                                      int16_t index) {
  return std::make_unique<QtCommandButton>(container, name, index);
}
std::unique_ptr<ICheckBox> QtControlFactory::CreateCheckBox(IControl& container, const std::string& name,
                                                            int16_t index) {
  return std::make_unique<QtCheckBox>(container, name, index);
}
std::unique_ptr<ITextBox> QtControlFactory::CreateMultiLineTextBox(IControl& container, const std::string& name) {
  return std::make_unique<QtMultiLineTextBox>(container, name);
}
std::unique_ptr<IMenuItem> QtControlFactory::CreateMenuItem(IForm& form, IMenuItem* parent,
                                                            const MenuItemStyle& style) {
  auto* qtForm = dynamic_cast<QtForm*>(&form);
  if (!qtForm) return IControlFactory::CreateMenuItem(form, parent, style);
  return std::make_unique<QtMenuItem>(*qtForm, dynamic_cast<QtMenuItem*>(parent), style);
}
std::unique_ptr<ITimer> QtControlFactory::CreateTimer() { return std::make_unique<QtTimer>(); }

}  // namespace platform::qt
