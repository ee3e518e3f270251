#pragma once
// Creates forms, controls and timers on the platform. A control belongs to
// the object holding its pointer; destroying a form first destroys nothing
// the caller still holds, but the caller's controls become inert.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/Form.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/LineControl.h"
#include "platform/ListControl.h"
#include "platform/MenuBar.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "platform/Timer.h"
#include "platform/VScrollBar.h"

namespace platform {

class IControlFactory {
 public:
  virtual ~IControlFactory() = default;

  virtual std::unique_ptr<IForm> CreateForm(const FormStyle& style) = 0;
  // index: the element's index in its control array, −1 for none.
  virtual std::unique_ptr<ILabel> CreateLabel(IControl& container, const std::string& name, int16_t index = -1) = 0;
  virtual std::unique_ptr<ITextBox> CreateTextBox(IControl& container, const std::string& name) = 0;
  virtual std::unique_ptr<IListControl> CreateComboBox(IControl& container, const std::string& name) = 0;
  virtual std::unique_ptr<IListControl> CreateListBox(IControl& container, const std::string& name) = 0;
  virtual std::unique_ptr<IFrame> CreateFrame(IControl& container, const std::string& name) = 0;
  virtual std::unique_ptr<ILine> CreateLine(IControl& container, const std::string& name, int16_t index = -1) = 0;
  virtual std::unique_ptr<IPictureBox> CreatePictureBox(IControl& container, const std::string& name) = 0;
  // nullptr on a backend without scroll bars.
  virtual std::unique_ptr<IVScrollBar> CreateVScrollBar(IControl&, const std::string&) { return nullptr; }
  // A push button, shown; nullptr on a backend without push buttons.
  virtual std::unique_ptr<ICommandButton> CreateCommandButton(IControl&, const std::string&, int16_t = -1) {
    return nullptr;
  }
  // A check box, shown; nullptr on a backend without check boxes.
  virtual std::unique_ptr<ICheckBox> CreateCheckBox(IControl&, const std::string&, int16_t = -1) { return nullptr; }
  // A text box of several lines (lines end with CR LF); a one-line box on a
  // backend without them.
  virtual std::unique_ptr<ITextBox> CreateMultiLineTextBox(IControl& container, const std::string& name) {
    return CreateTextBox(container, name);
  }
  // An item of the window's menu bar: a menu of the bar when parent is
  // nullptr, else an item of parent's submenu. Without a menu bar on the
  // backend the item only keeps its state.
  virtual std::unique_ptr<IMenuItem> CreateMenuItem(IForm&, IMenuItem* /*parent*/, const MenuItemStyle& style) {
    return std::make_unique<MenuItemState>(style);
  }
  // A window timer, disabled, interval 0.
  virtual std::unique_ptr<ITimer> CreateTimer() = 0;
};

}  // namespace platform
