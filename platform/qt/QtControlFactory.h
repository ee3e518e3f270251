#pragma once
// Creates the Qt-backed forms, controls and timers.
#include "platform/ControlFactory.h"

namespace platform::qt {

class QtControlFactory final : public IControlFactory {
 public:
  std::unique_ptr<IForm> CreateForm(const FormStyle& style) override;
  std::unique_ptr<ILabel> CreateLabel(IControl& container, const std::string& name, int16_t index) override;
  std::unique_ptr<ITextBox> CreateTextBox(IControl& container, const std::string& name) override;
  std::unique_ptr<IListControl> CreateComboBox(IControl& container, const std::string& name) override;
  std::unique_ptr<IListControl> CreateListBox(IControl& container, const std::string& name) override;
  std::unique_ptr<IFrame> CreateFrame(IControl& container, const std::string& name) override;
  std::unique_ptr<ILine> CreateLine(IControl& container, const std::string& name, int16_t index) override;
  std::unique_ptr<IPictureBox> CreatePictureBox(IControl& container, const std::string& name) override;
  std::unique_ptr<IVScrollBar> CreateVScrollBar(IControl& container, const std::string& name) override;
  std::unique_ptr<ICommandButton> CreateCommandButton(IControl& container, const std::string& name,
                                                      int16_t index) override;
  std::unique_ptr<ICheckBox> CreateCheckBox(IControl& container, const std::string& name, int16_t index) override;
  std::unique_ptr<ITextBox> CreateMultiLineTextBox(IControl& container, const std::string& name) override;
  std::unique_ptr<IMenuItem> CreateMenuItem(IForm& form, IMenuItem* parent, const MenuItemStyle& style) override;
  std::unique_ptr<ITimer> CreateTimer() override;
};

}  // namespace platform::qt
