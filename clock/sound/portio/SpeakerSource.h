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
  // The timeline frame after the last pulse (0 when none was played).
  int64_t PulsesEnd() const;

  bool Render(float* out, int32_t frames, int64_t vlngStart) override;
  // Silent: no change waiting, every voice off and faded out, no pulses,
  // the cone at rest.
  bool Idle() const override;

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

  // The speaker cone follows the pulses only up to a few kilohertz: two
  // second-order low-pass sections keep the carrier out of the sound.
  struct Biquad {
    double B0 = 0, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
    double Z1 = 0, Z2 = 0;
    double Run(double x) {
      const double y = B0 * x + Z1;
      Z1 = B1 * x - A1 * y + Z2;
      Z2 = B2 * x - A2 * y;
      return y;
    }
  };
  static Biquad LowPass(double vdblCutoff, double vdblQ);

  mutable std::mutex mLock;
  std::deque<Change> mChanges;
  VoiceState mVoices[kVoiceCount];
  PulseStream mPulses;
  int64_t mlngPulsesEnd = 0;
  Biquad mCone[2] = {LowPass(5000, 0.5412), LowPass(5000, 1.3066)};  // 4th-order Butterworth
};

}  // namespace speaker
