#pragma once
// A control array: controls of one name told apart by their index.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/RuntimeError.h"

namespace platform {

// What callers can ask of any control array without knowing its element type.
class IControlArray {
 public:
  virtual ~IControlArray() = default;
  virtual int16_t Count() const = 0;
  virtual int16_t UBound() const = 0;
};

template <typename Control>
class ControlArray final : public IControlArray {
 public:
  int16_t Count() const override { return static_cast<int16_t>(mItems.size()); }
  int16_t UBound() const override { return static_cast<int16_t>(mItems.size()) - 1; }

  // The element of an index; error 9 when there is none.
  Control& operator()(int16_t index) const {
    if (index < 0 || index >= Count() || !mItems[static_cast<size_t>(index)]) RaiseError(errSubscriptRange);
    return *mItems[static_cast<size_t>(index)];
  }
  void Add(std::unique_ptr<Control> control) {
    mItems.push_back(std::move(control));
    if (OnElement && mItems.back()) OnElement(*mItems.back());
  }
  // Puts a control created later at its own index (the language's Load);
  // error 360 when that index is taken.
  void Load(std::unique_ptr<Control> control) {
    const int16_t index = control->Index();
    if (index < 0) RaiseError(errSubscriptRange);
    if (index < Count() && mItems[static_cast<size_t>(index)]) RaiseError(errAlreadyLoaded);
    if (index >= Count()) mItems.resize(static_cast<size_t>(index) + 1);
    mItems[static_cast<size_t>(index)] = std::move(control);
    if (OnElement) OnElement(*mItems[static_cast<size_t>(index)]);
  }

  // Gives each element the array's event handlers as it joins the array,
  // elements loaded later included: they all share the array's handlers.
  std::function<void(Control&)> OnElement;

 private:
  std::vector<std::unique_ptr<Control>> mItems;
};

}  // namespace platform
