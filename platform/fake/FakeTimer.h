#pragma once
// A timer for tests: it never fires by itself; Fire() raises Timer when it
// is enabled with a non-zero interval.
#include "platform/Timer.h"

namespace platform {

class FakeTimer final : public ITimer {
 public:
  int32_t Interval() const override { return mInterval; }
  void SetInterval(int32_t ms) override { mInterval = ms; }
  bool Enabled() const override { return mEnabled; }
  void SetEnabled(bool enabled) override { mEnabled = enabled; }

  // Raises one Timer event if the timer is running; true when it did.
  bool Fire() {
    if (!mEnabled || mInterval <= 0 || !Timer) return false;
    Timer();
    return true;
  }

 private:
  int32_t mInterval = 0;
  bool mEnabled = false;
};

}  // namespace platform
