#include "clock/sound/portio/SquareTables.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "platform/Sound.h"

namespace speaker {

const SquareTables& SquareTables::Get() {
  static const SquareTables tables;
  return tables;
}

SquareTables::SquareTables() : mTables(kBands, std::vector<float>(kSize, 0.0f)) {
  // Below 22 kHz the harmonics are audible and need no filtering in the
  // device; each band is limited for its highest tone.
  const double limit = std::min(22000.0, platform::kSoundRate / 2.0 - 500.0);
  std::vector<double> sum(kSize, 0.0);
  int harmonic = 1;
  // From the top band down: each band holds the harmonics of the band above
  // plus those that now fit.
  for (int band = kBands - 1; band >= 0; --band) {
    const double highest = kLowest * std::pow(2.0, band + 1);
    for (; harmonic < kSize / 2 && harmonic * highest <= limit; harmonic += 2) {
      const std::complex<double> step = std::polar(1.0, 2.0 * M_PI * harmonic / kSize);
      std::complex<double> z = 1.0;
      for (int n = 0; n < kSize; ++n) {
        sum[static_cast<size_t>(n)] += z.imag() / harmonic;
        z *= step;
      }
    }
    auto& table = mTables[static_cast<size_t>(band)];
    for (int n = 0; n < kSize; ++n) table[static_cast<size_t>(n)] = static_cast<float>(sum[static_cast<size_t>(n)] * 4.0 / M_PI);
  }
}

float SquareTables::Sample(double vdblFrequency, double vdblPhase) const {
  int band = vdblFrequency <= kLowest ? 0 : static_cast<int>(std::floor(std::log2(vdblFrequency / kLowest)));
  if (band >= kBands) return 0.0f;  // wholly above hearing: nothing to play
  band = std::max(band, 0);
  const auto& table = mTables[static_cast<size_t>(band)];
  const double x = vdblPhase * kSize;
  const auto k = static_cast<int>(x) & (kSize - 1);
  const auto frac = static_cast<float>(x - std::floor(x));
  const float a = table[static_cast<size_t>(k)];
  const float b = table[static_cast<size_t>((k + 1) & (kSize - 1))];
  return a + (b - a) * frac;
}

}  // namespace speaker
