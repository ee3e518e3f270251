#pragma once
// A control array: controls of one name told apart by their index.
#include <cstdint>
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
  void Add(std::unique_ptr<Control> control) { mItems.push_back(std::move(control)); }

 private:
  std::vector<std::unique_ptr<Control>> mItems;
};

}  // namespace platform
