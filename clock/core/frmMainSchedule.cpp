// The clock window's working-day rules for the time signal: whether a full
// or half hour sounds (quiet hours, days, holidays, the desktop's
// do-not-disturb), and the half-hour chime.
#include "clock/core/CivilDate.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/sound/SignalSchedule.h"
#include "clock/sound/SignalSettings.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "common/basGeneral.h"
#include "platform/DoNotDisturb.h"

// Decided on the first tick of each full or half hour and kept for its
// other ticks: the desktop is asked once.
bool frmMain::SignalAllowed(const platform::DateTime& now) {
  const int64_t slot = CivilDate::DaysFromCivil(now.Year, now.Month, now.Day) * 48 + now.Hour * 2 + now.Minute / 30;
  if (slot != mlngDecidedSlot) {
    mlngDecidedSlot = slot;
    mblnSlotSounds = SignalSchedule::Sounds(SignalSettings::Rules, now) &&
                     !(SignalSettings::DoNotDisturb && platform::DesktopDoNotDisturb());
  }
  return mblnSlotSounds;
}

// Ten seconds before a full or half hour the desktop is asked whether not
// to disturb, so that its answer is there when the hour comes.
void frmMain::PrepareSignal(const platform::DateTime& now) {
  if (SettingsStore::NoUseTimeSignal || !SignalSettings::DoNotDisturb) return;
  if ((now.Minute == 59 || (now.Minute == 29 && SignalSettings::Rules.HalfHour)) && now.Second == 50 &&
      now.Millisecond < 500) {
    platform::RefreshDoNotDisturb();
  }
}

void frmMain::HalfHourSignal() {
  try {
    basMain::EnsureSoundOutput();
    mintSignalKind = 1;
    mintRestRepeatCount = 0;
    mcPlayMML = std::make_unique<clsPlayMML>();
    if (!mcPlayMML->ExistDLL()) {
      mcPlayMML.reset();
      FinishSignal();
      return;
    }
    if (!mobjMML) mobjMML = std::make_shared<clsIOMML>();
    mobjMML->SetNotesCommand(SignalSettings::HalfHourMML);
    mobjMML->MakeSoundData();
    mcPlayMML->Done = [this](int16_t& vblnTimerStop) { mcPlayMML_Done(vblnTimerStop); };
    mcPlayMML->SetclsIOMML(mobjMML);
    mcPlayMML->SetTimer(Timer2.get());
    if (!mcPlayMML->PlayStart()) FinishSignal();
  } catch (const std::exception& error) {
    mcPlayMML.reset();
    FinishSignal();
    basGeneral::ReportError(error);
  }
}
