// The program's start routine and its single-instance check.
#include <cstdio>
#include <memory>

#include "clock/core/Program.h"
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
void CheckPlacementLater(Program& program) {
  std::unique_ptr<platform::ITimer> timer = platform::Controls().CreateTimer();
  platform::ITimer* looking = timer.get();
  looking->Timer = [&program, looking, looks = 0]() mutable {
    const bool last = ++looks >= 4;
    if (CheckPlacementHonoured(program, last) || last) looking->SetEnabled(false);
  };
  looking->SetInterval(1500);
  looking->SetEnabled(true);
  program.KeepTimer(std::move(timer));
}

}  // namespace

bool IsPreviousInstanceRunning(platform::Application& app) { return app.PrevInstance(); }

bool StartUp(Program& program) {
  using platform::Application;
  Application& app = program.App();
  // Ended from outside (the session ends, a termination signal): the same
  // unload chain as the program's own end. Installed before the
  // single-instance claim can be seen, so no termination finds it missing.
  app.SetShutdownHandler([&program] {
    if (program.SetUp()) program.SetUp()->Form().Unload();
  });
  if (IsPreviousInstanceRunning(app)) return false;
  mstrSetUpTitle = "時計の設定メニュー  ";
  Application::Guard([] { SettingsStore::LoadSettings(); });

  frmMain& clock = program.MakeClock();
  Application::Guard([&clock] {
    clock.Form_Load();
    // The first layout of the rows, as the dialog's load gives it again.
    clock.RelayoutClock();
  });
  mpicMainIcon = platform::ProgramFolder() + "/Kelvora.png";
  Application::SetIcon(mpicMainIcon);

  // The settings dialog's window, parked off the screen, owns the taskbar
  // entry from the start; its menu bar and pages are made and filled from
  // the settings when it first opens.
  frmSetUp& setUp = program.MakeSetUp();
  MoveOffScreen(setUp.Form());
  AddSettingsMenuItem(program);
  // Shown off the screen, only its taskbar entry shows; where windows
  // cannot be placed it stays hidden. The clock is mapped first, so that
  // the window system asks for its frame before the parked dialog's.
  clock.Form().Show();
  if (Application::CanPlaceWindows()) setUp.Form().Show();
  clock.Form().ZOrder(0);
  // The dialog's load and the component checks, which may load modules
  // and ask the user, wait for the clock's first frame; the checks keep
  // their order. Each goes only while the program does: an end from
  // outside may come while a question waits (the unload chain has then
  // let go of the clock).
  Application::RunAfterFirstFrame(clock.Form(), [&program] {
    if (program.Clock() && program.SetUp()) Application::Guard([&program] { program.SetUp()->Form_Load(); });
    if (program.Clock()) Application::Guard([&program] { program.Clock()->CheckSpeaker(); });
    if (program.Clock() && program.SetUp()) Application::Guard([&program] { program.SetUp()->CheckComponents(); });
    // What the start needed only for a while (the component checks'
    // objects, the first layouts, the settings read) leaves the heap.
    Application::ReturnFreeMemory();
  });

  gfncOpenSoundOutput = OpenSoundOutput;
  CheckPlacementLater(program);
  return true;
}

int Main(Program& program) {
  if (!StartUp(program)) return 0;
  const int code = program.App().Run();
  program.ReleaseWindows();
  return code;
}

}  // namespace basMain
