#include "platform/fake/TimerScheduler.h"

#include <algorithm>

namespace platform {

class TimerScheduler::SimulatedTimer final : public ITimer {
 public:
  SimulatedTimer(TimerScheduler& owner, uint64_t sequence) : mOwner(owner), Sequence(sequence) {
    mOwner.mTimers.push_back(this);
  }
  ~SimulatedTimer() override { std::erase(mOwner.mTimers, this); }

  int32_t Interval() const override { return mInterval; }
  void SetInterval(int32_t ms) override {
    mInterval = ms < 0 ? 0 : ms;
    mOwner.Arm(*this);
  }
  bool Enabled() const override { return mEnabled; }
  void SetEnabled(bool enabled) override {
    mEnabled = enabled;
    mOwner.Arm(*this);
  }
  bool Running() const { return mEnabled && mInterval > 0; }

  TimerScheduler& mOwner;
  const uint64_t Sequence;
  int64_t Due = 0;
  int32_t mInterval = 0;
  bool mEnabled = false;
};

TimerScheduler::TimerScheduler(FakeClock& clock)
    : mClock(clock), mOther(ServiceSlot<IControlFactory>::Install(this)) {}

TimerScheduler::~TimerScheduler() { ServiceSlot<IControlFactory>::Install(mOther); }

std::unique_ptr<ITimer> TimerScheduler::CreateTimer() {
  return std::make_unique<SimulatedTimer>(*this, mlngSequence++);
}

void TimerScheduler::Arm(SimulatedTimer& timer) {
  if (!timer.Running()) return;
  const int32_t late = Lateness ? Lateness() : 0;
  timer.Due = std::max(mlngNow + timer.mInterval + late, mlngNow + 1);
}

void TimerScheduler::MoveTo(int64_t vlngTime) {
  if (vlngTime <= mlngNow) return;
  const int64_t step = vlngTime - mlngNow;
  mClock.Advance(static_cast<uint32_t>(step));
  mlngNow = vlngTime;
  if (Advanced) Advanced(step);
}

void TimerScheduler::Stall(int64_t vlngMs) {
  if (vlngMs > 0) MoveTo(mlngNow + vlngMs);
}

void TimerScheduler::RunFor(int64_t vlngMs) {
  const int64_t end = mlngNow + vlngMs;
  for (;;) {
    SimulatedTimer* next = nullptr;
    for (SimulatedTimer* timer : mTimers) {
      if (!timer->Running()) continue;
      if (!next || timer->Due < next->Due || (timer->Due == next->Due && timer->Sequence < next->Sequence)) {
        next = timer;
      }
    }
    if (!next || next->Due > end) break;
    MoveTo(next->Due);
    // The next due time is set before the event, as a window timer's is; a
    // handler that restarts the timer replaces it.
    Arm(*next);
    // A copy: the handler may replace the timer's event while it runs.
    if (auto handler = next->Timer) handler();
  }
  MoveTo(end);
}

}  // namespace platform
