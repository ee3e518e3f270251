#pragma once
// The chips behind the PC speaker, as software: the PC/AT timer channel 2
// (control 0x43, data 0x42, input clock 1 193 182 Hz) gated by bits 0 and 1
// of port 0x61, and the PC-98 beeper (timer counter 1 at control 0x77, data
// 0x3FDB, input clock 2 457 600 Hz; on and off through bit 3 of the
// 8255's port C, set and reset at 0x37). Each port write that changes what
// a speaker sounds is passed on as a tone.
#include <cstdint>
#include <functional>

namespace speaker {

struct ToneState {
  double Frequency = 0;  // Hz of the square wave
  bool Audible = false;
  bool operator==(const ToneState&) const = default;
};

enum Voice : int { kVoiceAT = 0, kVoicePC98 = 1, kVoiceCount = 2 };

// One counter of an 8253/8254 timer as far as a speaker needs it.
struct TimerCounter {
  uint8_t Mode = 3;
  uint8_t Access = 3;  // 1 low byte, 2 high byte, 3 low then high
  bool HighNext = false;
  uint8_t Low = 0;
  uint32_t Reload = 0;
  bool Loaded = false;

  void Control(uint8_t vbytValue);
  void Data(uint8_t vbytValue);
  // A count of 0 stands for 65536.
  double Frequency(double vdblClock) const { return vdblClock / (Reload == 0 ? 65536.0 : Reload); }
};

class SpeakerChips {
 public:
  static constexpr double kClockAT = 1193182.0;
  static constexpr double kClockPC98 = 2457600.0;

  void Out(uint16_t vintPort, uint8_t vbytValue);
  uint8_t In(uint16_t vintPort) const;
  ToneState Tone(Voice voice) const;

  // Raised after a write that changed a voice's tone.
  std::function<void(Voice, const ToneState&)> ToneChanged;

 private:
  void Notify(Voice voice, const ToneState& before);

  TimerCounter mAT;
  uint8_t mbytPort61 = 0;
  TimerCounter mPC98;
  uint8_t mbytPortC = 0x08;  // bit 3 set: beeper off
};

}  // namespace speaker
