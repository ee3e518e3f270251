// Plays a WAVE file on the PC speaker the way a PC buzzer plays digital
// sound: a train of pulses whose widths follow the samples (the speaker's
// timer at 1 193 182 / 64 Hz, 65 widths), sent to the emulated speaker of
// the port-I/O library.
#include "clock/sound/buzzer/Speaker.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "clock/sound/buzzer/BuzzerServer.h"
#include "platform/Module.h"
#include "platform/Services.h"
#include "platform/Sound.h"

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

// The file as pulse widths; empty when it cannot be read. The sound
// engine decodes it (damaged samples silenced, length bounded).
std::vector<float> PulseWidths(const std::string& path) {
  platform::SoundBuffer sound;
  if (path.empty() || !platform::DecodeSoundFile(path, sound) || sound.Samples.empty()) return {};
  const std::vector<float>& mono = sound.Samples;

  // One width per carrier period, sampled from the sound by linear
  // interpolation; silence is half width (no net push on the cone).
  const double step = platform::kSoundRate / kCarrier;
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

Speaker::Speaker() : ObjectBase(BuzzerServer::Server().Module()) {}

Speaker::~Speaker() { Stop(); }

HRESULT Speaker::Create(const Guid& iid, void** ppv) {
  ComPtr<Speaker> object(new Speaker);
  return object->QueryInterface(iid, ppv);
}

HRESULT Speaker::QueryInterface(const Guid& iid, void** ppv) {
  if (iid == IUnknown::IID || iid == IDispatch::IID || iid == BuzzerServer::DIID_DSpeaker) {
    return Answer(static_cast<IDispatch*>(this), ppv);
  }
  if (iid == IConnectionPoint::IID) return Answer(static_cast<IConnectionPoint*>(this), ppv);
  return Answer<IUnknown>(nullptr, ppv);
}

HRESULT Speaker::GetTypeInfo(const InterfaceDesc** ppInfo) {
  if (!ppInfo) return E_POINTER;
  *ppInfo = &BuzzerServer::Server().Interface("_DSpeaker");
  return S_OK;
}

HRESULT Speaker::Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                        ExcepInfo* excep) {
  const HRESULT checked = CheckInvoke(BuzzerServer::Server().Interface("_DSpeaker"), dispId, kind, args.size());
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
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::bad_alloc&) {
    throw;
  } catch (...) {
  }
}

}  // namespace buzzer
