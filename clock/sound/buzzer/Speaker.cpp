// Plays a WAVE file on the PC speaker the way a PC buzzer plays digital
// sound: a train of pulses whose widths follow the samples (the speaker's
// timer at 1 193 182 / 64 Hz, 65 widths), sent to the emulated speaker of
// the port-I/O library.
#include "clock/sound/buzzer/Speaker.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "clock/sound/buzzer/BuzzerServer.h"
#include "platform/Module.h"
#include "platform/Services.h"

using namespace platform::com;

namespace buzzer {
namespace {

constexpr double kCarrier = 1193182.0 / 64;  // pulses per second
constexpr int kSteps = 64;                   // widths 0/64 … 64/64

using PulsePlayFunction = void (*)(const float*, int32_t, double);
using PulseStopFunction = void (*)();
using PulseBusyFunction = int32_t (*)();

template <typename Function>
Function SpeakerEntry(const char* name) {
  platform::IModule* module = platform::LoadModule("DWSPY5.DLL");
  return module ? reinterpret_cast<Function>(module->Symbol(name)) : nullptr;
}

// The file as pulse widths; empty when it cannot be read.
std::vector<float> PulseWidths(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = path.empty() ? nullptr : sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<float> mono;
  if (info.channels > 0 && info.samplerate > 0 && info.frames > 0 && info.frames < int64_t{48000} * 3600) {
    std::vector<float> frames(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t read = sf_readf_float(file, frames.data(), info.frames);
    for (sf_count_t i = 0; i < read; ++i) {
      float sum = 0;
      for (int c = 0; c < info.channels; ++c) sum += frames[static_cast<size_t>(i * info.channels + c)];
      mono.push_back(sum / static_cast<float>(info.channels));
    }
  }
  sf_close(file);
  if (mono.empty()) return {};

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

}  // namespace

Speaker::Speaker() : ObjectBase(BuzzerServer::Module()) {}

Speaker::~Speaker() { Stop(); }

HRESULT Speaker::Create(const Guid& iid, void** ppv) {
  ComPtr<Speaker> object(new Speaker);
  return object->QueryInterface(iid, ppv);
}

HRESULT Speaker::QueryInterface(const Guid& iid, void** ppv) {
  if (iid == IUnknown::IID || iid == IDispatch::IID || iid == BuzzerServer::DIID__DSpeaker) {
    return Answer(static_cast<IDispatch*>(this), ppv);
  }
  if (iid == IConnectionPoint::IID) return Answer(static_cast<IConnectionPoint*>(this), ppv);
  return Answer<IUnknown>(nullptr, ppv);
}

HRESULT Speaker::GetTypeInfo(const InterfaceDesc** ppInfo) {
  if (!ppInfo) return E_POINTER;
  *ppInfo = &BuzzerServer::Interface("_DSpeaker");
  return S_OK;
}

HRESULT Speaker::Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                        ExcepInfo* excep) {
  const HRESULT checked = CheckInvoke(BuzzerServer::Interface("_DSpeaker"), dispId, kind, args.size());
  if (Failed(checked)) return checked;
  return InvokeGuarded(excep, [&] {
    switch (dispId) {
      case kSetWaveFile: SetWaveFile(args[0].AsString()); break;
      case kPlay: Play(); break;
      case kRelease: Stop(); break;
      default: break;
    }
    if (result) *result = Variant();
    return S_OK;
  });
}

void Speaker::Play() {
  Stop();
  if (!mtmrWatch) {
    mtmrWatch = platform::Controls().CreateTimer();
    mtmrWatch->SetInterval(10);
    mtmrWatch->Timer = [this] { Watch(); };
  }
  // A file that cannot be played ends at once: Done still follows, from the
  // watch, so that a repeated signal never waits forever.
  const std::vector<float> widths = PulseWidths(mstrFile);
  if (auto play = SpeakerEntry<PulsePlayFunction>("KvSpeakerPulsePlay"); play && !widths.empty()) {
    play(widths.data(), static_cast<int32_t>(widths.size()), kCarrier);
  }
  mblnPlaying = true;
  mtmrWatch->SetEnabled(true);
}

void Speaker::Stop() {
  if (mtmrWatch) mtmrWatch->SetEnabled(false);
  if (mblnPlaying) {
    if (auto stop = SpeakerEntry<PulseStopFunction>("KvSpeakerPulseStop")) stop();
  }
  mblnPlaying = false;
}

void Speaker::Watch() {
  auto busy = SpeakerEntry<PulseBusyFunction>("KvSpeakerPulseBusy");
  if (!mblnPlaying || (busy && busy())) return;
  mblnPlaying = false;
  mtmrWatch->SetEnabled(false);
  // Keeps the object whole while the host handles Done. If the host released
  // the control there, the object and its timer go when self does, and
  // nothing of either is touched after that.
  const ComPtr<Speaker> self(this);
  // The host handles its own errors; one that escapes it must not end the
  // message loop from inside a timer.
  try {
    mSinks.Raise(kDone);
  } catch (...) {
  }
}

}  // namespace buzzer
