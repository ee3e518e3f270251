// The program's start routine and its single-instance check.
#include <cstdio>
#include <memory>

#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "platform/Application.h"
#include "platform/Module.h"
#include "platform/Sound.h"
#include "platform/Timer.h"
#include "platform/Services.h"

namespace basMain {
namespace {

// The sound device, opened when something is first to sound.
void OpenSoundOutput() {
  if (!platform::InstallSoundOutput()) {
    mblnNoSoundOutput = true;
    std::fputs("Kelvora: 音声出力装置がないため、時報は鳴りません。\n", stderr);
  }
}

// Once the window system has placed the windows: is the parked dialog out
// of sight, the clock in its corner? A window manager still busy with its
// own start gets a few more looks before the user is told.
void CheckPlacementLater(std::unique_ptr<platform::ITimer>& timer) {
  timer = platform::Controls().CreateTimer();
  timer->Timer = [&timer, looks = 0]() mutable {
    const bool last = ++looks >= 4;
    if (CheckPlacementHonoured(last) || last) timer->SetEnabled(false);
  };
  timer->SetInterval(1500);
  timer->SetEnabled(true);
}

std::unique_ptr<frmMain> gClock;
std::unique_ptr<frmSetUp> gSetUp;
std::unique_ptr<platform::ITimer> gPlacementTimer;

}  // namespace

bool IsPreviousInstanceRunning(platform::Application& app) { return app.PrevInstance(); }

bool StartUp(platform::Application& app) {
  using platform::Application;
  // Ended from outside (the session ends, a termination signal): the same
  // unload chain as the program's own end. Installed before the
  // single-instance claim can be seen, so no termination finds it missing.
  app.SetShutdownHandler([] {
    if (gfrmSetUp) gfrmSetUp->Form().Unload();
  });
  if (IsPreviousInstanceRunning(app)) return false;
  mstrSetUpTitle = "時計の設定メニュー  ";
  Application::Guard([] { SettingsStore::LoadSettings(); });

  gClock = std::make_unique<frmMain>();
  gfrmMain = gClock.get();
  Application::Guard([] {
    gClock->Form_Load();
    // The first layout of the rows, as the dialog's load gives it again.
    gClock->RelayoutClock();
  });
  mpicMainIcon = platform::ProgramFolder() + "/Kelvora.png";
  Application::SetIcon(mpicMainIcon);

  // The settings dialog's window, parked off the screen, owns the taskbar
  // entry from the start; its menu bar and pages are made and filled from
  // the settings once the clock shows (or when it is opened before that).
  gSetUp = std::make_unique<frmSetUp>();
  gfrmSetUp = gSetUp.get();
  MoveOffScreen(gSetUp->Form());
  AddSettingsMenuItem();
  // Shown off the screen, only its taskbar entry shows; where windows
  // cannot be placed it stays hidden. The clock is mapped first, so that
  // the window system asks for its frame before the parked dialog's.
  gClock->Form().Show();
  if (Application::CanPlaceWindows()) gSetUp->Form().Show();
  gClock->Form().ZOrder(0);
  // The dialog's load and the component checks, which may load modules
  // and ask the user, wait for the clock's first frame; the checks keep
  // their order. Each goes only while the program does: an end from
  // outside may come while a question waits (the unload chain has then
  // let go of the clock).
  Application::RunAfterFirstFrame(gClock->Form(), [] {
    if (gfrmMain && gSetUp) {
      Application::Guard([] { gSetUp->Form_Load(); });
      // The menu bar made the window taller: parked again, whole.
      if (!mblnSetUpOpen) MoveOffScreen(gSetUp->Form());
    }
    if (gfrmMain && gClock) Application::Guard([] { gClock->CheckSpeaker(); });
    if (gfrmMain && gSetUp) Application::Guard([] { gSetUp->CheckComponents(); });
  });

  gfncOpenSoundOutput = OpenSoundOutput;
  CheckPlacementLater(gPlacementTimer);
  return true;
}

void ReleaseWindows() {
  gfncOpenSoundOutput = nullptr;
  gPlacementTimer.reset();
  ReleaseHelpWindow();
  // The dialog goes first: it still refers to the clock.
  gSetUp.reset();
  gfrmSetUp = nullptr;
  gClock.reset();
  gfrmMain = nullptr;
}

int Main(platform::Application& app) {
  if (!StartUp(app)) return 0;
  const int code = app.Run();
  ReleaseWindows();
  return code;
}

}  // namespace basMain
