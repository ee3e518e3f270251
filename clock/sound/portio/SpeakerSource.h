#pragma once
// The speaker's sound: each voice a band-limited square wave that follows
// the tones the chips are programmed with, each change at the timeline
// frame it was stamped with; on and off through short ramps (no clicks).
// A stream of pulse widths plays a one-bit signal the way a PC buzzer plays
// digital sound.
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "clock/sound/portio/SpeakerChips.h"
#include "platform/Sound.h"

namespace speaker {

class SpeakerSource final : public platform::ISoundSource {
 public:
  static constexpr float kAmplitude = 0.3f;
  static constexpr int32_t kRampFrames = 72;  // 1.5 ms at 48 kHz

  void Post(Voice voice, const ToneState& state, int64_t vlngFrame);

  // Plays pulse widths (0..1 of each period, 0.5 = rest position) at the
  // given carrier rate from the frame on; replaces a stream still playing.
  void PlayPulses(std::vector<float> vsngDuty, double vdblRate, int64_t vlngFrame);
  void StopPulses();
  bool PulsesBusy() const;

  bool Render(float* out, int32_t frames, int64_t vlngStart) override;

 private:
  struct Change {
    int64_t Frame;
    Voice Target;
    ToneState State;
  };
  struct VoiceState {
    ToneState Tone;
    double Phase = 0;
    float Envelope = 0;
  };
  struct PulseStream {
    std::vector<double> Prefix;  // the signal's integral at each period start
    std::vector<float> Duty;
    double Period = 0;           // in frames
    int64_t First = 0;
    bool Active = false;
  };

  float RenderPulses(int64_t vlngFrame) const;

  mutable std::mutex mLock;
  std::deque<Change> mChanges;
  VoiceState mVoices[kVoiceCount];
  PulseStream mPulses;
};

}  // namespace speaker
