#include "clock/sound/portio/SpeakerSource.h"

#include <algorithm>
#include <cmath>

#include "clock/sound/portio/SquareTables.h"

namespace speaker {

void SpeakerSource::Post(Voice voice, const ToneState& state, int64_t vlngFrame) {
  std::lock_guard<std::mutex> guard(mLock);
  // Stamps never run backwards: a late change joins the end of the queue.
  if (!mChanges.empty()) vlngFrame = std::max(vlngFrame, mChanges.back().Frame);
  mChanges.push_back(Change{vlngFrame, voice, state});
}

void SpeakerSource::PlayPulses(std::vector<float> vsngDuty, double vdblRate, int64_t vlngFrame) {
  PulseStream stream;
  stream.Period = platform::kSoundRate / vdblRate;
  stream.First = vlngFrame;
  stream.Prefix.resize(vsngDuty.size() + 1, 0.0);
  for (size_t i = 0; i < vsngDuty.size(); ++i) {
    vsngDuty[i] = std::clamp(vsngDuty[i], 0.0f, 1.0f);
    // High for the duty's share of the period, low for the rest.
    stream.Prefix[i + 1] = stream.Prefix[i] + (2.0 * vsngDuty[i] - 1.0) * stream.Period;
  }
  stream.Duty = std::move(vsngDuty);
  stream.Active = !stream.Duty.empty() && stream.Period > 0;
  const double end = static_cast<double>(stream.First) + stream.Period * static_cast<double>(stream.Duty.size());
  std::lock_guard<std::mutex> guard(mLock);
  mPulses = std::move(stream);
  mlngPulsesEnd = mPulses.Active ? static_cast<int64_t>(std::ceil(end)) : 0;
}

SpeakerSource::Biquad SpeakerSource::LowPass(double vdblCutoff, double vdblQ) {
  const double w = 2 * M_PI * vdblCutoff / platform::kSoundRate;
  const double alpha = std::sin(w) / (2 * vdblQ);
  const double a0 = 1 + alpha;
  Biquad f;
  f.B0 = (1 - std::cos(w)) / 2 / a0;
  f.B1 = (1 - std::cos(w)) / a0;
  f.B2 = f.B0;
  f.A1 = -2 * std::cos(w) / a0;
  f.A2 = (1 - alpha) / a0;
  return f;
}

void SpeakerSource::StopPulses() {
  std::lock_guard<std::mutex> guard(mLock);
  mPulses = PulseStream{};
  mlngPulsesEnd = 0;
}

int64_t SpeakerSource::PulsesEnd() const {
  std::lock_guard<std::mutex> guard(mLock);
  return mlngPulsesEnd;
}

bool SpeakerSource::PulsesBusy() const {
  std::lock_guard<std::mutex> guard(mLock);
  return mPulses.Active;
}

// The one-bit signal averaged over the output frame (the exact area under
// the pulses), which keeps the pulse edges from aliasing into the band.
float SpeakerSource::RenderPulses(int64_t vlngFrame) const {
  const PulseStream& s = mPulses;
  const auto integral = [&s](double t) {
    if (t <= 0) return t * 0.0;
    const double periods = t / s.Period;
    const auto j = static_cast<size_t>(periods);
    if (j >= s.Duty.size()) return s.Prefix.back();
    const double u = t - static_cast<double>(j) * s.Period;
    const double high = s.Duty[j] * s.Period;
    return s.Prefix[j] + (u < high ? u : 2.0 * high - u);
  };
  const double t = static_cast<double>(vlngFrame - s.First);
  return static_cast<float>(integral(t + 1.0) - integral(t));
}

bool SpeakerSource::Idle() const {
  std::lock_guard<std::mutex> guard(mLock);
  if (!mChanges.empty() || mPulses.Active) return false;
  for (const VoiceState& v : mVoices) {
    if (v.Tone.Audible || v.Envelope != 0.0f) return false;
  }
  for (const Biquad& section : mCone) {
    if (section.Z1 != 0 || section.Z2 != 0) return false;
  }
  return true;
}

bool SpeakerSource::Render(float* out, int32_t frames, int64_t vlngStart) {
  const SquareTables& tables = SquareTables::Get();
  std::lock_guard<std::mutex> guard(mLock);
  constexpr float step = 1.0f / kRampFrames;
  for (int32_t i = 0; i < frames; ++i) {
    const int64_t frame = vlngStart + i;
    while (!mChanges.empty() && mChanges.front().Frame <= frame) {
      VoiceState& v = mVoices[mChanges.front().Target];
      // A voice starting from silence starts its wave at the beginning, as
      // the counter reloads when its gate opens.
      if (v.Envelope == 0.0f && mChanges.front().State.Audible) v.Phase = 0;
      v.Tone = mChanges.front().State;
      mChanges.pop_front();
    }
    float sum = 0;
    for (VoiceState& v : mVoices) {
      const float target = v.Tone.Audible ? 1.0f : 0.0f;
      if (v.Envelope < target) v.Envelope = std::min(target, v.Envelope + step);
      if (v.Envelope > target) v.Envelope = std::max(target, v.Envelope - step);
      if (v.Envelope > 0.0f) {
        sum += v.Envelope * tables.Sample(v.Tone.Frequency, v.Phase);
        v.Phase += v.Tone.Frequency / platform::kSoundRate;
        v.Phase -= std::floor(v.Phase);
      }
    }
    const bool pulsing = mPulses.Active && frame >= mPulses.First;
    const double cone = mCone[1].Run(mCone[0].Run(pulsing ? RenderPulses(frame) : 0.0));
    sum += static_cast<float>(cone);
    // Once the cone has come to rest it stays exactly at rest.
    if (!pulsing && std::fabs(cone) < 1e-9 && std::fabs(mCone[0].Z1) + std::fabs(mCone[1].Z1) < 1e-9) {
      for (Biquad& section : mCone) section.Z1 = section.Z2 = 0;
    }
    out[i] += kAmplitude * sum;
  }
  if (mPulses.Active) {
    const double end = static_cast<double>(mPulses.First) + mPulses.Period * static_cast<double>(mPulses.Duty.size());
    if (static_cast<double>(vlngStart + frames) >= end) mPulses = PulseStream{};
  }
  return true;
}

}  // namespace speaker
