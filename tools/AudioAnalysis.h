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

// A stretch of digital silence inside the sound (seconds).
struct Gap {
  double Start = 0;
  double End = 0;
  double Length() const { return End - Start; }
};

// Splits the recording into sounding stretches (by the level, at half the
// loudest level) and each stretch into tones of steady pitch (by the
// distance of the rising zero crossings); a boundary between two tones is
// placed where the wave's phase changes rate. With `bridge` (seconds), two
// tones of one pitch with less than that between them are one tone: a
// recording from a real sound server, where a stream that ran dry for a
// moment leaves a short gap in a note.
std::vector<Tone> FindTones(const std::vector<float>& samples, int32_t rate, double bridge = 0);

// The gaps of digital silence (at least half a millisecond of zeros, sound
// on both sides) shorter than `shorterThan` seconds: what a stream that ran
// dry leaves in a recording of a sink's monitor. A rest of a melody is
// longer than any of them.
std::vector<Gap> FindDropouts(const std::vector<float>& samples, int32_t rate, double shorterThan);

// Root mean square of a stretch of the recording (whole when both are 0).
double Rms(const std::vector<float>& samples, size_t first = 0, size_t count = 0);

}  // namespace audio
