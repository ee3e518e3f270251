// A sound started out of quiet on a device that can rewrite its queue is
// stamped in front of the silence already rendered, and what follows keeps
// that short lead. Faults caught: a first note stretched by the change from
// the short lead to the queue's lead (the melody's next stamp jumping ahead),
// a rewind over sound that is playing, rendering running past the short
// stamps (later notes clamped late), a stamp nothing followed that keeps the
// engine from ever being quiet again.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Sound.h"

namespace {

constexpr int32_t kMs = platform::kSoundRate / 1000;
constexpr int32_t kDeep = 50 * kMs;
constexpr int32_t kQuick = 20 * kMs;

// A device pulled by hand, with a deep queue and a quick lead.
class RewritingSink final : public platform::ISoundSink {
 public:
  void Start(platform::SoundMixer&) override {}
  void Stop() override {}
  bool RealTime() const override { return true; }
  int32_t LatencyFrames() const override { return kDeep; }
  bool Audible() const override { return true; }
  int32_t QuickLeadFrames() const override { return kQuick; }
};

// Renders up to a frame, as a sink filling its queue does.
void RenderTo(platform::SoundMixer& mixer, int64_t vlngFrame) {
  std::vector<float> block(static_cast<size_t>(std::max<int64_t>(vlngFrame - mixer.RenderedFrames(), 0)));
  if (!block.empty()) mixer.Render(block.data(), static_cast<int32_t>(block.size()));
}

platform::SoundBuffer Tone() {
  platform::SoundBuffer buffer;
  buffer.Samples.assign(200 * kMs, 0.5f);
  return buffer;
}

TEST(SoundQuickStart, ASoundOutOfQuietReplacesTheQueuedSilenceAndKeepsItsShortLead) {
  platform::SoundMixer mixer;
  mixer.SetSink(std::make_unique<RewritingSink>());
  RenderTo(mixer, mixer.WallFrame() + kDeep);  // a full queue of silence

  const int64_t before = mixer.WallFrame();
  const int64_t first = mixer.StampFrame();
  EXPECT_GE(first, before + kQuick);
  EXPECT_LE(first, mixer.WallFrame() + kQuick) << "the quick lead, not the queue's";
  EXPECT_LT(first, mixer.RenderedFrames());
  EXPECT_FALSE(mixer.Quiet()) << "the stamp waits for its sound";

  auto tone = std::make_shared<platform::BufferSource>(Tone(), first);
  mixer.AddSource(tone);
  EXPECT_EQ(mixer.TakeRewind(), first);
  EXPECT_EQ(mixer.RenderedFrames(), first) << "rendering again from the new sound";
  EXPECT_EQ(mixer.TakeRewind(), -1);

  // While it sounds, rendering stays behind the stamps, and the next stamp
  // keeps the short lead: the first note is not stretched.
  RenderTo(mixer, mixer.RenderLimit());
  EXPECT_LE(mixer.RenderedFrames(), mixer.WallFrame() + kQuick + kMs);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const int64_t rendered = mixer.RenderedFrames();
  const int64_t second = mixer.StampFrame();
  EXPECT_GE(second, rendered);
  EXPECT_LT(second - mixer.WallFrame(), kDeep) << "a stamp that jumped to the queue's lead";
  EXPECT_EQ(mixer.TakeRewind(), -1) << "no rewind over sound that plays";

  // Once it has played, the engine is quiet again and the next sound out of
  // quiet starts quickly too.
  RenderTo(mixer, mixer.RenderedFrames() + 400 * kMs);
  mixer.RemoveSource(tone.get());
  EXPECT_TRUE(mixer.Quiet());
}

TEST(SoundQuickStart, AStampNothingFollowedDoesNotHoldTheEngineBusy) {
  platform::SoundMixer mixer;
  mixer.SetSink(std::make_unique<RewritingSink>());
  RenderTo(mixer, mixer.WallFrame() + kDeep);
  mixer.StampFrame();  // asked whether a sound would still be heard, nothing played
  EXPECT_FALSE(mixer.Quiet());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(mixer.Quiet()) << "the stream would never close";
}

}  // namespace
