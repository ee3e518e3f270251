#pragma once
// Plays the note entries of a clsIOMML on the PC speaker by programming the
// speaker's timer chip through port I/O. A window timer lent by the owner
// paces it; each tick measures real time with timeGetTime and moves to the
// next entry when the current one has run its length.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "clock/sound/PortIO.h"
#include "clock/sound/clsIOMML.h"
#include "platform/Timer.h"

class clsPlayMML {
 public:
  // What the player drives: whether the port-I/O library exists, the machine
  // family (2 PC/AT, 1 PC-98, 0 none) and the ports.
  struct Hardware {
    bool ExistDLL = false;
    int32_t MachineType = 0;
    IPortIO* Port = nullptr;
  };
  // The object handed to the Timer property: its type name ("Timer" for a
  // window timer, "clsTimer", "Nothing") and, for a window timer, the timer.
  struct TimerObject {
    std::string TypeName;
    platform::ITimer* Timer = nullptr;
  };

  // The real hardware: the library on the search path, the system's machine type.
  clsPlayMML();
  explicit clsPlayMML(const Hardware& audtHardware);
  ~clsPlayMML();
  clsPlayMML(const clsPlayMML&) = delete;
  clsPlayMML& operator=(const clsPlayMML&) = delete;

  int16_t ExistDLL() const { return mudtHardware.ExistDLL ? -1 : 0; }
  void SetclsIOMML(std::shared_ptr<clsIOMML> vobjMML) { mobjMML = std::move(vobjMML); }
  void SetTimer(const TimerObject& vobjTimer);
  // A window timer, or nullptr for Nothing. The player borrows the timer:
  // it must outlive the player or be released (nullptr) first.
  void SetTimer(platform::ITimer* vtmrTimer);

  int16_t PlayStart();
  int16_t PlayStop();
  int16_t StillExecuting() const { return mblnStillExecuting ? -1 : 0; }

  // Handler of the lent timer's Timer event.
  void mctlTimer_Timer();

  // Events, in this order.
  std::function<void(int16_t& rintIndex)> NewNote;
  std::function<void(int16_t& vblnTimerStop)> Done;

  // 13.75 × 2^((n + 3) / 12) Hz for n ≥ 0 (57 = 440 Hz).
  static float NoteFrequency(int16_t vintNote);
  // Milliseconds an entry of the length lasts at the tempo.
  static double NoteDuration(int16_t vintLength, int16_t vintTempo);

 private:
  struct PlayPosition {
    int32_t StartTime = 0;  // timeGetTime at the last measurement
    bool Started = false;   // the first tick has set StartTime (a clock reading may be 0)
    int16_t Index = 0;
    int32_t Elapsed = 0;
  };

  void PlayTick();
  void Measure();
  void EndPlay();
  void EnableTimer(bool vblnOn);
  void SetSpeakerFrequency(float vsngFrequency);
  void SpeakerGate(bool vblnOn);
  void ReleaseTimer();

  Hardware mudtHardware;
  std::shared_ptr<clsIOMML> mobjMML;
  platform::ITimer* mctlTimer = nullptr;
  int16_t mintTimerKind = 0;
  bool mblnStillExecuting = false;
  bool mblnEndReported = false;
  PlayPosition mudtPosition;
  // Lets a tick notice that an event handler released the player.
  std::shared_ptr<bool> mblnAlive = std::make_shared<bool>(true);
};
