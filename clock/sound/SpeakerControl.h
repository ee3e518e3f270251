#pragma once
// The PC-buzzer control as the clock uses it: member 1 names the WAVE file,
// member 7 (0, −1, 0, True) starts it and returns at once, member 5 stops
// and releases, and Done follows each completed play.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Timer.h"

class ISpeakerControl {
 public:
  virtual ~ISpeakerControl() = default;
  // Member 1.
  virtual void SetWaveFile(std::string& rstrFileName) = 0;
  // Member 7.
  virtual void Play(int32_t vlngArg1, int32_t vlngArg2, int32_t vlngArg3, bool vblnArg4) = 0;
  // Member 5.
  virtual void Release() = 0;

  std::function<void()> Done;
};

// The control "TEGSPKR3.OCX" from the search path, or nullptr when it is
// missing. The timer (a window timer when none is given) watches for the
// end of a play on the user-interface thread.
std::unique_ptr<ISpeakerControl> CreateSpeakerControl(std::unique_ptr<platform::ITimer> vtmrWatch = nullptr);
