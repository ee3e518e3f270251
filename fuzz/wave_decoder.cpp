// WAVE loading through the sound engine: any bytes as a sound file, decoded
// by libsndfile and brought to the engine's rate. Unreadable files are
// refused; the samples of a decoded sound must be finite numbers.
#include <cmath>
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "platform/Sound.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("sound.wav", data, size);
  platform::SoundBuffer buffer;
  if (!platform::DecodeSoundFile(path, buffer)) {
    if (!buffer.Samples.empty()) fuzz::Fail("a refused file left samples behind");
    return 0;
  }
  if (buffer.Samples.empty()) fuzz::Fail("a decoded sound without samples");
  for (const float sample : buffer.Samples) {
    if (!std::isfinite(sample)) fuzz::Fail("a decoded sample is not a finite number");
  }
  return 0;
}
