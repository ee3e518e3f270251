// The PC-buzzer control: plays a WAVE file on the PC speaker the way a PC
// buzzer plays digital sound, as a train of pulses whose widths follow the
// samples (the speaker's timer at 1 193 182 / 64 Hz, 65 widths). The pulses
// go to the emulated speaker of the port-I/O library.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Module.h"

#define KV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr double kCarrier = 1193182.0 / 64;  // pulses per second
constexpr int kSteps = 64;                   // widths 0/64 … 64/64

using PulsePlayFunction = void (*)(const float*, int32_t, double);
using PulseStopFunction = void (*)();
using PulseBusyFunction = int32_t (*)();

const platform::ModuleHost* gHost = nullptr;

template <typename Function>
Function SpeakerEntry(const char* name) {
  if (!gHost || !gHost->FindSymbol) return nullptr;
  return reinterpret_cast<Function>(gHost->FindSymbol("DWSPY5.DLL", name));
}

// The file as pulse widths; empty when it cannot be read.
std::vector<float> PulseWidths(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = path.empty() ? nullptr : sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  // The header's frame count is only a claim: read in blocks as far as the
  // file goes, up to an hour of sound.
  std::vector<float> mono;
  bool tooLong = false;
  if (info.channels > 0 && info.samplerate > 0) {
    const int64_t limit = int64_t{info.samplerate} * 3600;
    const sf_count_t blockFrames = std::max(1, 65536 / info.channels);
    std::vector<float> block(static_cast<size_t>(blockFrames) * static_cast<size_t>(info.channels));
    sf_count_t read = 0;
    while (!tooLong && (read = sf_readf_float(file, block.data(), blockFrames)) > 0) {
      for (sf_count_t i = 0; i < read; ++i) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c) sum += block[static_cast<size_t>(i * info.channels + c)];
        const float sample = sum / static_cast<float>(info.channels);
        // Damaged float samples are silence; beyond full scale is clipped.
        mono.push_back(std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f);
      }
      tooLong = static_cast<int64_t>(mono.size()) > limit;
    }
  }
  sf_close(file);
  if (mono.empty() || tooLong) return {};

  // One width per carrier period, sampled from the sound by linear
  // interpolation; silence is half width (no net push on the cone).
  const double step = info.samplerate / kCarrier;
  const auto count = static_cast<size_t>(static_cast<double>(mono.size() - 1) / step) + 1;
  std::vector<float> widths(count);
  for (size_t i = 0; i < count; ++i) {
    const double x = static_cast<double>(i) * step;
    const auto k = static_cast<size_t>(x);
    const double a = mono[k], b = k + 1 < mono.size() ? mono[k + 1] : a;
    const double v = std::clamp(a + (b - a) * (x - static_cast<double>(k)), -1.0, 1.0);
    widths[i] = static_cast<float>(std::round((v + 1.0) / 2.0 * kSteps) / kSteps);
  }
  return widths;
}

struct Buzzer {
  std::string File;
};

}  // namespace

KV_EXPORT void KvModuleAttach(const platform::ModuleHost* host) { gHost = host; }

KV_EXPORT void* KvBuzzerCreate() { return new Buzzer; }

KV_EXPORT void KvBuzzerDestroy(void* buzzer) { delete static_cast<Buzzer*>(buzzer); }

KV_EXPORT void KvBuzzerSetFile(void* buzzer, const char* file) {
  if (buzzer) static_cast<Buzzer*>(buzzer)->File = file ? file : "";
}

// Starts the file; 0 when nothing could be started.
KV_EXPORT int32_t KvBuzzerPlay(void* buzzer) {
  auto play = SpeakerEntry<PulsePlayFunction>("KvSpeakerPulsePlay");
  if (!buzzer || !play) return 0;
  const std::vector<float> widths = PulseWidths(static_cast<Buzzer*>(buzzer)->File);
  if (widths.empty()) return 0;
  play(widths.data(), static_cast<int32_t>(widths.size()), kCarrier);
  return 1;
}

KV_EXPORT int32_t KvBuzzerBusy(void*) {
  auto busy = SpeakerEntry<PulseBusyFunction>("KvSpeakerPulseBusy");
  return busy ? busy() : 0;
}

KV_EXPORT void KvBuzzerStop(void*) {
  if (auto stop = SpeakerEntry<PulseStopFunction>("KvSpeakerPulseStop")) stop();
}
