#pragma once
// Gives a variable a value for the lifetime of this object and restores
// the value it had when the scope ends, by an error as well.
#include <utility>

namespace platform {

template <typename T>
class ScopedValue {
 public:
  ScopedValue(T& variable, T value) : mVariable(variable), mOld(std::exchange(variable, std::move(value))) {}
  ~ScopedValue() { mVariable = std::move(mOld); }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& mVariable;
  T mOld;
};

}  // namespace platform
