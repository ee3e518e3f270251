// A silent sound engine sleeps while nothing plays and wakes for the next
// sound; the stretch it slept through is not rendered. Faults caught: a sink
// that keeps waking to render silence (the idle clock's wake-ups), a wake-up
// that is lost (a time signal that never sounds), a sound started late by
// the silence slept through, a sleeping sink that cannot be stopped.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/Sound.h"

namespace {

using namespace std::chrono_literals;

class CountingSource final : public platform::ISoundSource {
 public:
  bool Render(float*, int32_t frames, int64_t vlngStart) override {
    if (!IsIdle) {
      int64_t none = -1;
      FirstStart.compare_exchange_strong(none, vlngStart);
      Frames += frames;
    }
    return true;
  }
  bool Idle() const override { return IsIdle; }
  std::atomic<bool> IsIdle{true};
  std::atomic<int64_t> FirstStart{-1};
  std::atomic<int64_t> Frames{0};
};

// Waits (at most 10 s) until the condition holds.
bool Eventually(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

// Waits until the mixer's sink has rendered nothing for 100 ms.
int64_t SettledFrames(const platform::SoundMixer& mixer) {
  int64_t frames = mixer.RenderedFrames();
  for (int i = 0; i < 100; ++i) {
    std::this_thread::sleep_for(100ms);
    if (mixer.RenderedFrames() == frames) break;
    frames = mixer.RenderedFrames();
  }
  return frames;
}

TEST(SoundIdle, TheSilentSinkSleepsThroughSilenceAndWakesForTheNextSoundAtTheWallClock) {
  auto source = std::make_shared<CountingSource>();
  {
    platform::SoundMixer mixer;  // with its silent sink, on a thread of its own
    mixer.AddSource(source);
    const int64_t asleep = SettledFrames(mixer);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(mixer.RenderedFrames(), asleep) << "silence is slept through, not rendered";

    const int64_t wall = mixer.WallFrame();
    ASSERT_GT(wall - asleep, platform::kSoundRate / 10);
    source->IsIdle = false;
    mixer.Wake();
    ASSERT_TRUE(Eventually([&] { return source->Frames > platform::kSoundRate / 20; })) << "woken";
    EXPECT_GE(source->FirstStart, wall) << "the sound starts at the wall clock, not after the silence";

    // Idle again, then a new source with something to play wakes it.
    source->IsIdle = true;
    const int64_t idle = SettledFrames(mixer);
    auto next = std::make_shared<CountingSource>();
    next->IsIdle = false;
    mixer.AddSource(next);
    ASSERT_TRUE(Eventually([&] { return next->Frames > 0; })) << "woken by the new source";
    EXPECT_GE(next->FirstStart, idle);
    mixer.RemoveSource(next.get());
    SettledFrames(mixer);
  }  // a sleeping sink stops with its mixer (a hang fails the test run)
}

}  // namespace
