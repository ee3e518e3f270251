#pragma once
// A clock for tests: it stands still until the test moves it, and installs
// itself for its lifetime.
#include <vector>

#include "platform/Clock.h"

namespace platform {

class FakeClock final : public IClock {
 public:
  explicit FakeClock(DateTime now = DateTime{2026, 12, 7, 9, 5, 3, 0}) : mNow(now) {
    mOld = InstallClock(this);
  }
  ~FakeClock() override { InstallClock(mOld); }
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  DateTime Now() override { return mNow; }
  uint32_t Milliseconds() override { return mMilliseconds; }
  // Sleeping only moves the millisecond clock on; the waits are recorded.
  void Sleep(uint32_t ms) override {
    Sleeps.push_back(ms);
    Advance(ms);
  }

  void SetNow(const DateTime& now) { mNow = now; }
  void SetMilliseconds(uint32_t ms) { mMilliseconds = ms; }
  // Moves the millisecond clock (not the date and time) forward.
  void Advance(uint32_t ms) { mMilliseconds += ms; }

  std::vector<uint32_t> Sleeps;

 private:
  DateTime mNow;
  uint32_t mMilliseconds = 1000;
  IClock* mOld = nullptr;
};

}  // namespace platform
