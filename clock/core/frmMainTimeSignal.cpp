// The clock window's hourly time signal: when the tick starts it, how each
// kind sounds, and how the completion events drive the repetitions.
#include <stdexcept>

#include "clock/core/CivilDate.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/sound/basSound.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "clock/sound/SignalSettings.h"
#include "common/basGeneral.h"
#include "platform/Sound.h"

using namespace SettingsStore;

// The tick belongs to the time signal in the trigger second hh:00:00, and
// in the hour's first seconds while the hour has had no signal yet: a
// stalled message loop that missed the trigger second still signals late
// rather than never.
// The user's rules may keep a full or half hour silent; its ticks then
// refresh the rows as any other.
bool frmMain::TimeSignalTrigger(const platform::DateTime& now) {
  if (NoUseTimeSignal || (now.Minute != 0 && !(now.Minute == 30 && SignalSettings::Rules.HalfHour))) return false;
  if (now.Second != 0 &&
      (now.Second >= kTimeSignalWindow || mblnHourSignalled || mblnTimeSignalStarted || mblnSignalledAhead)) {
    return false;
  }
  return SignalAllowed(now);
}

void frmMain::StartHourSignal(const platform::DateTime& slot) {
  const int16_t hour12 = static_cast<int16_t>(slot.Hour % 12 == 0 ? 12 : slot.Hour % 12);
  mblnTimeSignalFinished = false;
  mblnTimeSignalStarted = true;
  mblnHourSignalled = true;
  if (slot.Minute == 30) HalfHourSignal();
  else TimeSignal(TimeSignalRepeat ? hour12 : 1);
}

namespace {
// The full or half hour that begins with the second after hh:59:59 or hh:29:59.
platform::DateTime SlotAfter(const platform::DateTime& now) {
  platform::DateTime slot = now;
  slot.Second = slot.Millisecond = 0;
  if (now.Minute == 29) {
    slot.Minute = 30;
    return slot;
  }
  slot.Minute = 0;
  if (++slot.Hour == 24) {
    slot.Hour = 0;
    const CivilDate::YMD next = CivilDate::CivilFromDays(CivilDate::DaysFromCivil(now.Year, now.Month, now.Day) + 1);
    slot.Year = next.Year;
    slot.Month = next.Month;
    slot.Day = next.Day;
  }
  return slot;
}
}  // namespace

void frmMain::StartHourSignalEarly(const platform::DateTime& now) {
  const bool lastSecond = now.Second == 59 && (now.Minute == 59 || (now.Minute == 29 && SignalSettings::Rules.HalfHour));
  // Held from the early start through the slot's first seconds only.
  const bool ahead = lastSecond || ((now.Minute == 0 || now.Minute == 30) && now.Second < kTimeSignalWindow);
  if (!ahead) mblnSignalledAhead = false;
  if (NoUseTimeSignal || !lastSecond || mblnTimeSignalStarted || mblnSignalledAhead) return;
  const platform::DateTime slot = SlotAfter(now);
  if (!SignalAllowed(slot)) return;
  if (!platform::SoundEngine().AlignStamps(1000 - now.Millisecond)) return;
  mblnSignalledAhead = true;
  StartHourSignal(slot);
}

// A signal that sounds no more: the next full hour can sound again.
void frmMain::FinishSignal() {
  mintRestRepeatCount = 0;
  mblnTimeSignalFinished = true;
}

void frmMain::TimeSignal(int16_t rintRepeat) {
  try {
    basMain::EnsureSoundOutput();
    mintSignalKind = basMain::GetTimeSignalKind();
    const std::string text = basMain::TimeSignalText();
    switch (mintSignalKind) {
      case 1: {
        mintRestRepeatCount = static_cast<int16_t>(rintRepeat - 1);
        mblnTimeSignalFinished = false;
        mcPlayMML = std::make_unique<clsPlayMML>();
        if (!mcPlayMML->ExistDLL()) {
          mcPlayMML.reset();
          FinishSignal();
          break;
        }
        if (!mobjMML) mobjMML = std::make_shared<clsIOMML>();
        mobjMML->SetNotesCommand(text.substr(4));
        mobjMML->MakeSoundData();
        mcPlayMML->Done = [this](int16_t& vblnTimerStop) { mcPlayMML_Done(vblnTimerStop); };
        mcPlayMML->SetclsIOMML(mobjMML);
        mcPlayMML->SetTimer(Timer2.get());
        // A melody without notes never ends with Done: it is over at once.
        if (!mcPlayMML->PlayStart()) FinishSignal();
        break;
      }
      case 2:
        mintRestRepeatCount = static_cast<int16_t>(rintRepeat - 1);
        mblnTimeSignalFinished = false;
        if (Speaker) {
          Speaker->Play(0, -1, 0, true);
        } else {
          FinishSignal();
        }
        break;
      case 3:
        mintRestRepeatCount = static_cast<int16_t>(rintRepeat - 1);
        mblnTimeSignalFinished = false;
        basSound::PlayWaveFile(text, basSound::SND_ASYNC);
        UpdateRows(false);
        if (mintRestRepeatCount <= 0) FinishSignal();
        break;
      default:  // −1 off, 4 no such file, 5 MML on Windows NT: nothing sounds
        FinishSignal();
        break;
    }
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::exception& error) {
    // The signal ends with the error, so that the tick goes on refreshing
    // the rows and the next hour sounds again.
    mcPlayMML.reset();
    FinishSignal();
    basGeneral::ReportError(error);
  }
}

// While a WAVE file repeats on the sound device, each tick looks whether
// the last play has ended and starts the next.
void frmMain::RepeatWaveSignal() {
  if (mintSignalKind != 3 || basSound::IsSoundBusy()) return;
  --mintRestRepeatCount;
  basSound::PlayWaveFile(basMain::TimeSignalText(), basSound::SND_ASYNC);
  UpdateRows(false);
  if (mintRestRepeatCount <= 0) FinishSignal();
}

// The rows between two plays. A format that cannot be applied is reported,
// and the next play still starts.
void frmMain::UpdateRowsBetweenPlays() {
  try {
    UpdateRows(false);
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::exception& error) {
    basGeneral::ReportError(error);
  }
}

void frmMain::mcPlayMML_Done(int16_t& vblnTimerStop) {
  if (mintRestRepeatCount < 1) {
    vblnTimerStop = -1;
    mblnTimeSignalFinished = true;
    return;
  }
  --mintRestRepeatCount;
  UpdateRowsBetweenPlays();
  mcPlayMML->PlayStart();
}

void frmMain::Speaker_Done() {
  if (mintRestRepeatCount < 1) {
    mblnTimeSignalFinished = true;
    return;
  }
  --mintRestRepeatCount;
  UpdateRowsBetweenPlays();
  Speaker->Play(0, -1, 0, true);
}

void frmMain::SetSpeaker(std::unique_ptr<ISpeakerControl> vobjSpeaker) {
  Speaker = std::move(vobjSpeaker);
  if (Speaker) Speaker->Done = [this] { Speaker_Done(); };
}
