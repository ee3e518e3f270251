#pragma once
// The PC-buzzer control as the clock uses it: member 1 names the WAVE file,
// member 7 (0, −1, 0, True) starts it and returns at once, member 5 stops
// and releases, and Done follows each completed play. The control is the
// class Speaker of the registered component "TEGSPKR3.OCX", created by
// class and called by member number.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The control's registered class name.
inline constexpr const char* kSpeakerClass = "TegspkrLib.Speaker";

class ISpeakerControl {
 public:
  virtual ~ISpeakerControl() = default;
  // Member 1.
  virtual void SetWaveFile(std::string& rstrFileName) = 0;
  // Member 7.
  virtual void Play(int32_t vlngArg1, int32_t vlngArg2, int32_t vlngArg3, bool vblnArg4) = 0;
  // Member 5. Later calls do nothing.
  virtual void Release() = 0;

  std::function<void()> Done;
};

// A Speaker object created through the component runtime, or nullptr when
// the class cannot be created (not registered, module missing). Calls
// raise the run-time errors of the control.
std::unique_ptr<ISpeakerControl> CreateSpeakerControl();
