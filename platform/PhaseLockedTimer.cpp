#include "platform/PhaseLockedTimer.h"

#include "platform/Clock.h"

namespace platform {

PhaseLockedTimer::PhaseLockedTimer(std::unique_ptr<ITimer> vtmrInner) : mtmrInner(std::move(vtmrInner)) {
  mtmrInner->Timer = [this] { Inner_Timer(); };
}

PhaseLockedTimer::~PhaseLockedTimer() {
  *mblnAlive = false;
  mtmrInner->SetEnabled(false);
  mtmrInner->Timer = nullptr;
}

void PhaseLockedTimer::SetInterval(int32_t ms) {
  mintInterval = ms < 0 ? 0 : ms;
  Arm();
}

void PhaseLockedTimer::SetEnabled(bool enabled) {
  mblnEnabled = enabled;
  Arm();
}

bool PhaseLockedTimer::PhaseLocked() const {
  return mintInterval >= 100 && (1000 % mintInterval == 0 || mintInterval % 1000 == 0);
}

int32_t PhaseLockedTimer::WaitFromPhase(int32_t vintInterval, int32_t vintPhase) {
  // To the next boundary, plus the offset. A moment between a boundary and
  // its offset waits for the following boundary: it is a tick already.
  return vintInterval - vintPhase + kPhaseOffset;
}

int32_t PhaseLockedTimer::Phase() const {
  const DateTime now = Now();
  const int64_t msOfDay =
      ((int64_t{now.Hour} * 60 + now.Minute) * 60 + now.Second) * 1000 + now.Millisecond;
  return static_cast<int32_t>(msOfDay % mintInterval);
}

void PhaseLockedTimer::Arm() {
  if (!mblnEnabled || mintInterval <= 0) {
    mtmrInner->SetEnabled(false);
    return;
  }
  mtmrInner->SetInterval(PhaseLocked() ? WaitFromPhase(mintInterval, Phase()) : mintInterval);
  if (!mtmrInner->Enabled()) mtmrInner->SetEnabled(true);
}

void PhaseLockedTimer::Inner_Timer() {
  if (!mblnEnabled || mintInterval <= 0) return;
  if (PhaseLocked()) {
    const int32_t phase = Phase();
    // Each wait is measured afresh from the wall clock.
    mtmrInner->SetInterval(WaitFromPhase(mintInterval, phase));
    if (phase >= mintInterval - kEarlySlack) return;  // woke just before the boundary
  }
  // Copies: a handler may replace either event while it runs (a borrower
  // that hands the timer back clears Timer from inside its own tick).
  const std::weak_ptr<bool> alive = mblnAlive;
  if (auto owner = OwnerTimer) owner();
  if (alive.expired()) return;
  if (auto borrower = Timer) borrower();
}

}  // namespace platform
