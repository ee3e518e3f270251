#include "clock/sound/clsPlayMML.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "clock/help/basSystem.h"
#include "common/basGeneral.h"
#include "platform/Checked.h"
#include "platform/Clock.h"

using namespace platform::checked;

namespace {

clsPlayMML::Hardware RealHardware() {
  clsPlayMML::Hardware hardware;
  hardware.ExistDLL = basSystem::IsFileOnSearchPath("DWSPY5.DLL");
  if (hardware.ExistDLL) {
    hardware.Port = PortIOModule();
    hardware.MachineType = hardware.Port ? basSystem::GetMachineType() : 0;
  }
  return hardware;
}

}  // namespace

clsPlayMML::clsPlayMML() : clsPlayMML(RealHardware()) {}

clsPlayMML::clsPlayMML(const Hardware& audtHardware) : mudtHardware(audtHardware) {
  if (!mudtHardware.Port) mudtHardware.MachineType = 0;
}

clsPlayMML::~clsPlayMML() {
  *mblnAlive = false;
  if (mudtHardware.ExistDLL) {
    try {
      SpeakerGate(false);
    } catch (...) {
      // The speaker is left as it is; nothing to report from a destructor.
    }
  }
  mobjMML.reset();
  ReleaseTimer();
}

void clsPlayMML::ReleaseTimer() {
  if (mctlTimer) mctlTimer->Timer = nullptr;
  mctlTimer = nullptr;
}

void clsPlayMML::SetTimer(const TimerObject& vobjTimer) {
  std::string kind = vobjTimer.TypeName;
  std::transform(kind.begin(), kind.end(), kind.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (kind == "timer" && vobjTimer.Timer) {
    ReleaseTimer();
    mctlTimer = vobjTimer.Timer;
    mintTimerKind = 1;
    mctlTimer->Timer = [this] { mctlTimer_Timer(); };
  } else if (kind == "clstimer") {
    // Accepted for compatibility; no such timer exists in the program.
    mintTimerKind = 2;
  } else if (kind == "nothing") {
    ReleaseTimer();
    mintTimerKind = 0;
  }
}

void clsPlayMML::SetTimer(platform::ITimer* vtmrTimer) {
  SetTimer(vtmrTimer ? TimerObject{"Timer", vtmrTimer} : TimerObject{"Nothing", nullptr});
}

void clsPlayMML::EnableTimer(bool vblnOn) {
  if (mintTimerKind != 1 || !mctlTimer) return;
  if (vblnOn) mctlTimer->SetInterval(1);
  mctlTimer->SetEnabled(vblnOn);
}

int16_t clsPlayMML::PlayStart() {
  if (!mobjMML || mobjMML->SoundDataCount() < 1) return 0;
  mblnStillExecuting = true;
  EnableTimer(true);
  mblnEndReported = false;
  return -1;
}

int16_t clsPlayMML::PlayStop() {
  mblnStillExecuting = false;
  return 0;
}

void clsPlayMML::mctlTimer_Timer() {
  const std::weak_ptr<bool> alive = mblnAlive;
  try {
    PlayTick();
  } catch (const platform::RuntimeError& error) {
    // A failing tick must not take the program down. A play that fails ends
    // through the next tick's stop (speaker off, Done), so that its owner
    // still hears of the end; a failing stop ends playing for good.
    if (alive.expired()) return;
    if (!mblnStillExecuting) {
      mblnEndReported = true;
      EnableTimer(false);
    }
    mblnStillExecuting = false;
    basGeneral::ReportError(error);
  }
}

void clsPlayMML::Measure() {
  const uint32_t now = platform::timeGetTime();
  // Modular difference: right across the clock's wrap at 2^32.
  const auto delta = static_cast<int32_t>(now - static_cast<uint32_t>(mudtPosition.StartTime));
  mudtPosition.Elapsed = Add32(mudtPosition.Elapsed, delta);
  mudtPosition.StartTime = static_cast<int32_t>(now);
}

double clsPlayMML::NoteDuration(int16_t vintLength, int16_t vintTempo) {
  // A tempo of 0 (T0) would make every entry endless; it plays at the
  // default tempo instead.
  const double tempo = vintTempo == 0 ? 120.0 : vintTempo;
  return vintLength / 64.0 * 60.0 * 1000.0 / tempo * 4.0;
}

void clsPlayMML::PlayTick() {
  if (!mudtHardware.ExistDLL) return;
  if (!mblnStillExecuting) {
    if (mblnEndReported) return;
    EndPlay();
    return;
  }
  if (!mobjMML || mobjMML->SoundDataCount() < 1) {
    mblnStillExecuting = false;
    return;
  }

  if (mudtPosition.Started) Measure();
  if (!mudtPosition.Started) {
    mudtPosition.StartTime = static_cast<int32_t>(platform::timeGetTime());
    mudtPosition.Started = true;
    const int16_t pitch = mobjMML->NotePitch(mudtPosition.Index);
    if (pitch >= 0) {
      SetSpeakerFrequency(NoteFrequency(pitch));
      SpeakerGate(true);
    } else {
      SpeakerGate(false);
    }
  }
  const double duration = NoteDuration(mobjMML->NoteLength(mudtPosition.Index), mobjMML->Tempo());
  if (duration > mudtPosition.Elapsed) {
    Measure();
    return;
  }

  mudtPosition.Index = Add16(mudtPosition.Index, 1);
  if (mudtPosition.Index > mobjMML->SoundDataCount() - 1) {
    EndPlay();
    return;
  }
  const int16_t pitch = mobjMML->NotePitch(mudtPosition.Index);
  if (pitch >= 0) {
    SpeakerGate(true);
    SetSpeakerFrequency(NoteFrequency(pitch));
  } else {
    SpeakerGate(false);
  }
  // Each entry is timed from the tick that starts it.
  mudtPosition.Elapsed = 0;
  int16_t index = mudtPosition.Index;
  if (NewNote) NewNote(index);
}

// The end of a play, at the melody's end or after PlayStop. Done is raised
// once per end; a handler's vblnTimerStop stops the timer, and a handler that
// calls PlayStart starts the melody again from entry 0.
void clsPlayMML::EndPlay() {
  mudtPosition = PlayPosition{};
  SpeakerGate(false);
  mblnStillExecuting = false;
  const std::weak_ptr<bool> alive = mblnAlive;
  int16_t blnTimerStop = 0;
  if (Done) Done(blnTimerStop);
  if (alive.expired()) return;
  if (blnTimerStop) EnableTimer(false);
  // A handler that restarted the melody leaves a play whose end is still to
  // be reported.
  if (!mblnStillExecuting) mblnEndReported = true;
}

float clsPlayMML::NoteFrequency(int16_t vintNote) {
  const double r = std::exp(std::log(2.0) / 12.0);
  const double f = std::pow(2.0, vintNote / 12) * 13.75 * std::pow(r, (vintNote % 12) + 3);
  return static_cast<float>(f);
}

namespace {

// How the player programs each machine's tone timer: control word, then the
// divisor of its clock, low byte first. (On the PC/AT the player divides
// 1 190 000, not the chip's 1 193 182.)
struct ToneTimer {
  int16_t ControlPort;
  int16_t ControlWord;
  int16_t DataPort;
  double Clock;
};
constexpr ToneTimer kPcAtTimer{0x43, 0xB6, 0x42, 1190000.0};
constexpr ToneTimer kPc98Timer{0x77, 0x76, 0x3FDB, 2457600.0};

}  // namespace

void clsPlayMML::SetSpeakerFrequency(float vsngFrequency) {
  if (vsngFrequency == 0.0f) return;
  const ToneTimer* timer = nullptr;
  if (mudtHardware.MachineType == 2) timer = &kPcAtTimer;
  else if (mudtHardware.MachineType == 1) timer = &kPc98Timer;
  else return;
  IPortIO* port = mudtHardware.Port;
  port->agOutp(timer->ControlPort, timer->ControlWord);
  const int32_t divisor = CLng(timer->Clock / static_cast<double>(vsngFrequency));
  port->agOutp(timer->DataPort, ToInt16(divisor & 255));
  port->agOutp(timer->DataPort, ToInt16(divisor / 256));
}

void clsPlayMML::SpeakerGate(bool vblnOn) {
  IPortIO* port = mudtHardware.Port;
  switch (mudtHardware.MachineType) {
    case 2: {
      const int16_t v = port->agInp(0x61);
      port->agOutp(0x61, vblnOn ? static_cast<int16_t>(v | 3) : static_cast<int16_t>(v & 0xFC));
      break;
    }
    case 1:
      port->agOutp(0x37, vblnOn ? 6 : 7);
      break;
    default:
      break;
  }
}
