// The port-I/O library: agInp and agOutp on emulated speaker chips, heard
// through the host's sound engine once the host has attached it. A few
// extra entry points let the buzzer control play pulse streams on the same
// speaker.
#include <cstdint>
#include <memory>
#include <vector>

#include "clock/sound/portio/SpeakerChips.h"
#include "clock/sound/portio/SpeakerSource.h"
#include "clock/sound/portio/SquareTables.h"
#include "platform/Module.h"
#include "platform/Sound.h"

#define KV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Speaker {
  Speaker() {
    Chips.ToneChanged = [this](speaker::Voice voice, const speaker::ToneState& state) {
      Source->Post(voice, state, Stamp());
      if (Mixer) Mixer->Wake();
    };
  }
  int64_t Stamp() const { return Mixer ? Mixer->StampFrame() : 0; }

  speaker::SpeakerChips Chips;
  std::shared_ptr<speaker::SpeakerSource> Source = std::make_shared<speaker::SpeakerSource>();
  platform::ISoundMixer* Mixer = nullptr;
};

Speaker& TheSpeaker() {
  static Speaker speaker;
  return speaker;
}

}  // namespace

KV_EXPORT int16_t agInp(int16_t vintPort) {
  return TheSpeaker().Chips.In(static_cast<uint16_t>(vintPort));
}

KV_EXPORT void agOutp(int16_t vintPort, int16_t vintValue) {
  TheSpeaker().Chips.Out(static_cast<uint16_t>(vintPort), static_cast<uint8_t>(vintValue & 0xFF));
}

KV_EXPORT void KvModuleAttach(const platform::ModuleHost* host) {
  Speaker& speaker = TheSpeaker();
  if (!host || !host->Mixer || speaker.Mixer) return;
  speaker::SquareTables::Get();  // built now rather than on the audio thread
  speaker.Mixer = host->Mixer;
  speaker.Mixer->AddSource(speaker.Source);
}

KV_EXPORT void KvSpeakerPulsePlay(const float* vsngDuty, int32_t vlngCount, double vdblRate) {
  if (!vsngDuty || vlngCount <= 0 || vdblRate <= 0) return;
  Speaker& speaker = TheSpeaker();
  speaker.Source->PlayPulses(std::vector<float>(vsngDuty, vsngDuty + vlngCount), vdblRate, speaker.Stamp());
  if (speaker.Mixer) speaker.Mixer->Wake();
}

KV_EXPORT void KvSpeakerPulseStop() { TheSpeaker().Source->StopPulses(); }

// Busy until pulses started now would be heard after the last ones end.
KV_EXPORT int32_t KvSpeakerPulseBusy() {
  const Speaker& speaker = TheSpeaker();
  return speaker.Source->PulsesEnd() > speaker.Stamp() ? 1 : 0;
}
