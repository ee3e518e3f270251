#pragma once
// A window timer: while enabled with a non-zero interval it raises Timer
// on the user-interface thread every Interval milliseconds.
#include <cstdint>
#include <functional>

namespace platform {

class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual int32_t Interval() const = 0;
  virtual void SetInterval(int32_t ms) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  std::function<void()> Timer;
};

}  // namespace platform
