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

// The sound device is opened once the clock is on the screen: its
// libraries are large and nothing sounds before the first signal or test.
void InstallSoundOutputLater(std::unique_ptr<platform::ITimer>& timer) {
  timer = platform::Controls().CreateTimer();
  timer->Timer = [&timer] {
    timer->SetEnabled(false);
    if (!platform::InstallSoundOutput()) {
      std::fputs("Kelvora: 音声出力装置がないため、時報は鳴りません。\n", stderr);
    }
  };
  timer->SetInterval(1);
  timer->SetEnabled(true);
}

}  // namespace

bool IsPreviousInstanceRunning(platform::Application& app) { return app.PrevInstance(); }

int Main(platform::Application& app) {
  using platform::Application;
  if (IsPreviousInstanceRunning(app)) return 0;
  mstrSetUpTitle = "時計の設定メニュー  ";
  Application::Guard([] { SettingsStore::LoadSettings(); });

  frmMain clock;
  gfrmMain = &clock;
  Application::Guard([&clock] {
    clock.Form_Load();
    clock.CheckSpeaker();
  });
  mpicMainIcon = platform::ProgramFolder() + "/Kelvora.png";
  Application::SetIcon(mpicMainIcon);

  // The settings dialog loads hidden; its load gives the clock its first
  // layout. Parked off the screen, it owns the taskbar entry.
  frmSetUp setup;
  gfrmSetUp = &setup;
  Application::Guard([&setup] { setup.Form_Load(); });
  MoveOffScreen(setup.Form());
  AddSettingsMenuItem();
  setup.Form().Show();
  clock.Form().Show();
  clock.Form().ZOrder(0);

  // Ended from outside (the session ends, a termination signal): the same
  // unload chain as the program's own end.
  app.SetShutdownHandler([] {
    if (gfrmSetUp) gfrmSetUp->Form().Unload();
  });
  std::unique_ptr<platform::ITimer> soundTimer;
  InstallSoundOutputLater(soundTimer);

  const int code = app.Run();
  ReleaseHelpWindow();
  gfrmSetUp = nullptr;
  gfrmMain = nullptr;
  return code;
}

}  // namespace basMain
