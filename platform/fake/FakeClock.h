#pragma once
// A clock for tests: it stands still until the test moves it, and installs
// itself for its lifetime.
//
// Either the test sets the local date and time directly (SetNow), or it runs
// the clock on a wall clock (SetWallClock): a moment in milliseconds since
// 1970 UTC, read as local time through the time zone in TZ exactly as the
// system clock reads it. Advance moves the millisecond clock and the wall
// clock together; StepWallClock moves only the wall clock, as setting the
// system time does.
#include <cstdint>
#include <optional>
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

  DateTime Now() override { return mWall ? LocalDateTime(*mWall) : mNow; }
  uint32_t Milliseconds() override { return mMilliseconds; }
  // Sleeping only moves the millisecond clock on; the waits are recorded.
  void Sleep(uint32_t ms) override {
    Sleeps.push_back(ms);
    Advance(ms);
  }

  void SetNow(const DateTime& now) {
    mNow = now;
    mWall.reset();
  }
  void SetMilliseconds(uint32_t ms) { mMilliseconds = ms; }
  // Moves the millisecond clock, and the wall clock when one runs, forward.
  void Advance(uint32_t ms) {
    mMilliseconds += ms;
    if (mWall) *mWall += ms;
  }

  void SetWallClock(int64_t vlngEpochMs) { mWall = vlngEpochMs; }
  void StepWallClock(int64_t vlngDeltaMs) {
    if (mWall) *mWall += vlngDeltaMs;
  }
  int64_t WallClock() const { return mWall.value_or(0); }

  std::vector<uint32_t> Sleeps;

 private:
  DateTime mNow;
  std::optional<int64_t> mWall;
  uint32_t mMilliseconds = 1000;
  IClock* mOld = nullptr;
};

}  // namespace platform
