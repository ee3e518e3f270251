// A silent sound engine sleeps while nothing plays and wakes for the next
// sound; the stretch it slept through is not rendered.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Sound.h"

namespace {

class QuietSource final : public platform::ISoundSource {
 public:
  bool Render(float*, int32_t, int64_t) override { return true; }
  bool Idle() const override { return IsIdle; }
  std::atomic<bool> IsIdle{true};
};

TEST(SoundIdle, AQuietMixerSleepsUntilASourceIsAddedOrWoken) {
  platform::SoundMixer mixer;  // with its silent sink
  auto quiet = std::make_shared<QuietSource>();
  mixer.AddSource(quiet);
  std::atomic<bool> running{true};

  // Woken by a source that has something to play again.
  std::thread sleeper([&] { mixer.SleepWhileQuiet(running); });
  quiet->IsIdle = false;
  mixer.Wake();
  sleeper.join();
  EXPECT_GE(mixer.RenderedFrames(), mixer.WallFrame() - platform::kSoundRate) << "resumed at the wall clock";

  // A source that plays keeps it awake.
  mixer.SleepWhileQuiet(running);

  // Woken by a new source.
  quiet->IsIdle = true;
  auto busy = std::make_shared<QuietSource>();
  busy->IsIdle = false;
  std::thread second([&] { mixer.SleepWhileQuiet(running); });
  mixer.AddSource(busy);
  second.join();

  // And let go when the sink stops.
  mixer.RemoveSource(busy.get());
  mixer.RemoveSource(quiet.get());
  std::thread third([&] { mixer.SleepWhileQuiet(running); });
  running = false;
  mixer.Wake();
  third.join();
}

}  // namespace
