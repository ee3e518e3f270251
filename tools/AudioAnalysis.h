#pragma once
// Measures the tones in a recording: where each sounds, for how long and at
// which pitch. Used to check rendered melodies against their notes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace audio {

struct Tone {
  double Start = 0;      // seconds
  double End = 0;        // seconds
  double Frequency = 0;  // Hz
  double Length() const { return End - Start; }
};

// Splits the recording into sounding stretches (by the level, at half the
// loudest level) and each stretch into tones of steady pitch (by the
// distance of the rising zero crossings); a boundary between two tones is
// placed where the wave's phase changes rate.
std::vector<Tone> FindTones(const std::vector<float>& samples, int32_t rate);

// Root mean square of a stretch of the recording (whole when both are 0).
double Rms(const std::vector<float>& samples, size_t first = 0, size_t count = 0);

}  // namespace audio
