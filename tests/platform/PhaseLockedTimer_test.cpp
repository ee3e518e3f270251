// The tick that keeps step with the wall clock, on simulated time: from any
// start, with a late or early message loop, across time steps and a
// suspend, and while it is lent out at 1 ms.
#include "platform/PhaseLockedTimer.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "platform/fake/FakeClock.h"
#include "platform/fake/TimerScheduler.h"

namespace {

using platform::PhaseLockedTimer;

// 2026-12-07 09:05:03 in Tokyo (the tests' zone), as milliseconds since 1970.
constexpr int64_t kMorning = 1796601903000;

struct PhaseTest : testing::Test {
  PhaseTest() {
    time.SetWallClock(kMorning);
    timer.OwnerTimer = [this] { Ticks.push_back(time.WallClock()); };
  }
  // Milliseconds past the half second.
  static int64_t Phase(int64_t wall) { return ((wall % 500) + 500) % 500; }
  void Start(int32_t interval = 500) {
    Ticks.clear();
    timer.SetInterval(interval);
    timer.SetEnabled(true);
  }

  platform::FakeClock time;
  platform::TimerScheduler scheduler{time};
  PhaseLockedTimer timer{scheduler.CreateTimer()};
  std::vector<int64_t> Ticks;
};

TEST_F(PhaseTest, FromAnyStartTheTicksFallJustAfterEveryHalfSecond) {
  for (int64_t start = 0; start < 1000; start += 37) {
    SCOPED_TRACE(start);
    time.SetWallClock(kMorning + start);
    const int64_t from = time.WallClock();
    Start();
    scheduler.RunFor(5000);
    ASSERT_GE(Ticks.size(), 9u);
    EXPECT_LE(Ticks.front() - from, 500 + PhaseLockedTimer::kPhaseOffset);
    for (int64_t tick : Ticks) EXPECT_EQ(Phase(tick), PhaseLockedTimer::kPhaseOffset) << tick - from;
  }
}

TEST_F(PhaseTest, ALateOrEarlyLoopStillGivesExactlyOneTickPerHalfSecond) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> lateness(-3, 40);
  scheduler.Lateness = [&] { return lateness(random); };
  Start();
  scheduler.RunFor(600000);
  std::map<int64_t, int> perHalfSecond;
  for (int64_t tick : Ticks) {
    ++perHalfSecond[tick / 500];
    EXPECT_LT(Phase(tick), 500 - PhaseLockedTimer::kEarlySlack) << "a tick reads the half second that has begun";
  }
  ASSERT_GE(perHalfSecond.size(), 1199u);
  EXPECT_EQ(perHalfSecond.rbegin()->first - perHalfSecond.begin()->first + 1,
            static_cast<int64_t>(perHalfSecond.size()))
      << "no half second without its tick";
  for (const auto& [half, count] : perHalfSecond) EXPECT_EQ(count, 1) << "at " << half;
}

TEST_F(PhaseTest, ATimeStepOrASuspendIsMendedByTheFirstTickAfterIt) {
  Start();
  scheduler.RunFor(2000);
  for (int64_t step : {1234, -777, 10 * 60000 + 91}) {
    SCOPED_TRACE(step);
    if (step > 60000) {
      scheduler.Stall(step);  // asleep: no timer runs
    } else {
      time.StepWallClock(step);
    }
    Ticks.clear();
    scheduler.RunFor(3000);
    ASSERT_GE(Ticks.size(), 5u);
    // At most the first tick after the step is out of step.
    for (size_t i = 1; i < Ticks.size(); ++i) EXPECT_EQ(Phase(Ticks[i]), PhaseLockedTimer::kPhaseOffset);
  }
}

TEST_F(PhaseTest, LentAtOneMillisecondBothHandlersRunAndTheReturnRestoresThePhase) {
  Start();
  scheduler.RunFor(1000);
  int borrowed = 0;
  // The borrower programs the timer as the melody player does, and hands it
  // back from inside its own tick as the settings dialog's test does.
  timer.Timer = [&] {
    if (++borrowed == 250) {
      timer.SetInterval(500);
      timer.Timer = nullptr;
    }
  };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  Ticks.clear();
  scheduler.RunFor(250);
  EXPECT_EQ(borrowed, 250);
  EXPECT_EQ(Ticks.size(), 250u) << "the owner's handler runs at the lent rate too";

  Ticks.clear();
  scheduler.RunFor(3000);
  EXPECT_EQ(borrowed, 250);
  ASSERT_GE(Ticks.size(), 5u);
  for (int64_t tick : Ticks) EXPECT_EQ(Phase(tick), PhaseLockedTimer::kPhaseOffset);
}

TEST_F(PhaseTest, OnlyIntervalsThatDivideOrFillSecondsKeepStep) {
  for (int32_t interval : {500, 250, 1000, 60000}) {
    timer.SetInterval(interval);
    EXPECT_TRUE(timer.PhaseLocked()) << interval;
  }
  for (int32_t interval : {0, 1, 30, 700}) {
    timer.SetInterval(interval);
    EXPECT_FALSE(timer.PhaseLocked()) << interval;
  }
  Start(700);
  const int64_t from = time.WallClock();
  scheduler.RunFor(2100);
  EXPECT_EQ(Ticks, (std::vector<int64_t>{from + 700, from + 1400, from + 2100}));

  timer.SetEnabled(false);
  Ticks.clear();
  scheduler.RunFor(5000);
  EXPECT_TRUE(Ticks.empty());
}

}  // namespace
