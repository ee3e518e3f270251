#include "clock/sound/portio/SpeakerChips.h"

namespace speaker {

void TimerCounter::Control(uint8_t vbytValue) {
  const uint8_t access = (vbytValue >> 4) & 3;
  if (access == 0) return;  // counter latch: nothing a speaker hears
  Access = access;
  Mode = (vbytValue >> 1) & 7;
  if (Mode > 5) Mode -= 4;  // 6 and 7 are aliases of 2 and 3
  HighNext = false;
  // A new control word stops the counter until a count is written.
  Loaded = false;
}

void TimerCounter::Data(uint8_t vbytValue) {
  switch (Access) {
    case 1:
      Reload = vbytValue;
      Loaded = true;
      break;
    case 2:
      Reload = static_cast<uint32_t>(vbytValue) << 8;
      Loaded = true;
      break;
    default:
      if (!HighNext) {
        Low = vbytValue;
        HighNext = true;
      } else {
        Reload = Low | (static_cast<uint32_t>(vbytValue) << 8);
        HighNext = false;
        Loaded = true;
      }
      break;
  }
}

ToneState SpeakerChips::Tone(Voice voice) const {
  if (voice == kVoiceAT) {
    const bool on = mAT.Loaded && mAT.Mode == 3 && (mbytPort61 & 3) == 3;
    return ToneState{mAT.Frequency(kClockAT), on};
  }
  const bool on = mPC98.Loaded && mPC98.Mode == 3 && (mbytPortC & 0x08) == 0;
  return ToneState{mPC98.Frequency(kClockPC98), on};
}

void SpeakerChips::Notify(Voice voice, const ToneState& before) {
  const ToneState after = Tone(voice);
  if (after == before || !ToneChanged) return;
  // A silent voice's frequency change is heard only once it sounds.
  if (!after.Audible && !before.Audible) return;
  ToneChanged(voice, after);
}

void SpeakerChips::Out(uint16_t vintPort, uint8_t vbytValue) {
  const ToneState at = Tone(kVoiceAT);
  const ToneState pc98 = Tone(kVoicePC98);
  switch (vintPort) {
    case 0x43:
      if ((vbytValue >> 6) == 2) mAT.Control(vbytValue);  // channel 2 only
      break;
    case 0x42:
      mAT.Data(vbytValue);
      break;
    case 0x61:
      mbytPort61 = vbytValue;
      break;
    case 0x77:
      if ((vbytValue >> 6) == 1) mPC98.Control(vbytValue);  // counter 1 only
      break;
    case 0x3FDB:
      mPC98.Data(vbytValue);
      break;
    case 0x37:
      if ((vbytValue & 0x80) == 0) {  // bit set/reset of port C
        const auto bit = static_cast<uint8_t>(1u << ((vbytValue >> 1) & 7));
        mbytPortC = (vbytValue & 1) ? (mbytPortC | bit) : (mbytPortC & ~bit);
      }
      break;
    default:
      break;
  }
  Notify(kVoiceAT, at);
  Notify(kVoicePC98, pc98);
}

uint8_t SpeakerChips::In(uint16_t vintPort) const {
  switch (vintPort) {
    case 0x61:
      return mbytPort61;  // what was written, as a read-modify-write expects
    case 0x35:
      return mbytPortC;
    default:
      return 0xFF;  // nothing answers
  }
}

}  // namespace speaker
