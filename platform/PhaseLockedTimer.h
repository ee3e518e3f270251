#pragma once
// A window timer whose ticks keep step with the wall clock. With an interval
// that divides a second (500 ms: every full and half second) or is a whole
// number of seconds, each tick falls kPhaseOffset ms after a multiple of the
// interval, counted from local midnight, so that a tick reads the second that
// has just begun. Every tick computes the wait to the next one from the wall
// clock: the phase is back at the first tick after drift, a change of the
// system time, or a suspend and resume. Any other interval (the 1 ms of a
// melody that borrows the timer) ticks plainly, as any window timer does.
//
// The owner's handler, OwnerTimer, runs on every tick before the Timer
// event. An object the timer is lent to sets Timer and later clears it; the
// owner's ticks go on throughout.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Timer.h"

namespace platform {

class PhaseLockedTimer final : public ITimer {
 public:
  // Milliseconds after the boundary at which a tick falls.
  static constexpr int32_t kPhaseOffset = 2;
  // A wake-up this close before a boundary is no tick of its own: the timer
  // waits for the boundary instead.
  static constexpr int32_t kEarlySlack = 20;

  // vtmrInner: the platform timer that does the waiting.
  explicit PhaseLockedTimer(std::unique_ptr<ITimer> vtmrInner);
  ~PhaseLockedTimer() override;
  PhaseLockedTimer(const PhaseLockedTimer&) = delete;
  PhaseLockedTimer& operator=(const PhaseLockedTimer&) = delete;

  int32_t Interval() const override { return mintInterval; }
  void SetInterval(int32_t ms) override;
  bool Enabled() const override { return mblnEnabled; }
  void SetEnabled(bool enabled) override;

  // Whether the current interval keeps step with the wall clock.
  bool PhaseLocked() const;
  // The wait from a moment vintPhase ms past a multiple of the interval to
  // the next tick.
  static int32_t WaitFromPhase(int32_t vintInterval, int32_t vintPhase);

  std::function<void()> OwnerTimer;

 private:
  int32_t Phase() const;
  void Arm();
  void Inner_Timer();

  std::unique_ptr<ITimer> mtmrInner;
  int32_t mintInterval = 0;
  bool mblnEnabled = false;
  // Lets a tick notice that a handler destroyed the timer.
  std::shared_ptr<bool> mblnAlive = std::make_shared<bool>(true);
};

}  // namespace platform
