#pragma once
// Routines about controls: what kind of object a value is, text boxes made
// to look like labels, and list filling.
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Control.h"
#include "platform/ControlArray.h"
#include "platform/ListControl.h"
#include "platform/TextBox.h"

namespace basControl {

// Codes of CheckObjects.
enum ObjectCode : int16_t {
  objOther = 0,          // an object that is neither a form nor a control
  objValueArray = 1,     // not an object: an array of values
  objCollection = 2,
  objControlArray = 3,   // an array of controls
  objControl = 4,        // a control outside any control array
  objArrayElement = 5,   // an element of a control array
  objNotObject = 6,      // not an object: anything else
  objForm = 7,
  objApplication = 8,
};

// A control or form: 7 for a form, 5 for an element of a control array,
// 4 for any other control, 0 for no object.
int16_t CheckObjects(const platform::IControl* object);
// An array of controls: 3.
int16_t CheckObjects(const platform::IControlArray& controls);
// An array of plain values: 1.
template <typename T>
int16_t CheckObjects(const std::vector<T>&) {
  return objValueArray;
}
// Any other plain value: 6.
template <typename T>
  requires(!std::is_convertible_v<T, const platform::IControl*> && !std::is_base_of_v<platform::IControlArray, T>)
int16_t CheckObjects(const T&) {
  return objNotObject;
}

// Makes the text box read-only on the button face colour; true when it has
// no border.
bool MakeTextBoxLabel(platform::ITextBox& textBox);

// Appends every element in order; with reset true the list is cleared first
// and its first entry selected afterwards.
void FillListFromArray(platform::IListControl& list, const std::vector<std::string>& items,
                       std::optional<bool> reset = std::nullopt);

}  // namespace basControl
