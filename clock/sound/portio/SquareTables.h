#pragma once
// Band-limited square waves: one period per octave band, holding only the
// odd harmonics that stay below the Nyquist frequency for every tone of the
// band, so that no tone aliases.
#include <cstdint>
#include <vector>

namespace speaker {

class SquareTables {
 public:
  static const SquareTables& Get();
  // One sample of a unit square wave (±1 between the edges) of the given
  // frequency at phase 0 ≤ phase < 1.
  float Sample(double vdblFrequency, double vdblPhase) const;

 private:
  SquareTables();
  static constexpr int kSize = 4096;
  static constexpr double kLowest = 8.0;  // the lowest band starts here
  static constexpr int kBands = 12;       // 8 Hz … 32 kHz
  std::vector<std::vector<float>> mTables;
};

}  // namespace speaker
