#pragma once
// A list box or combo box: a list of texts with a selection (ListIndex −1
// = none); a combo box also has an editable text.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Control.h"

namespace platform {

class IListControl : public IControl {
 public:
  virtual void Clear() = 0;
  virtual void AddItem(const std::string& item) = 0;
  virtual int16_t ListCount() const = 0;
  virtual std::string List(int16_t index) const = 0;
  virtual int16_t ListIndex() const = 0;
  virtual void SetListIndex(int16_t index) = 0;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  // A combo box's kind: 0 a drop-down list with an editable text (the
  // default), 2 a drop-down list to pick from only. Other lists ignore it.
  virtual int16_t Style() const { return 0; }
  virtual void SetStyle(int16_t) {}

  std::function<void()> Change;  // the text was edited
  std::function<void()> Click;   // an entry was picked
};

}  // namespace platform
