// Kelvora's start routine: load the settings, show the clock, run until the
// clock is closed. Closing saves the settings; so does the end of the
// session or a termination signal.
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "Kelvora");
  SettingsStore::LoadSettings();

  frmMain clock;
  basMain::gfrmMain = &clock;
  clock.Form_Load();
  clock.RelayoutClock();
  clock.Form().Show();

  app.SetShutdownHandler([&clock] {
    int16_t cancel = 0;
    clock.Form_Unload(cancel);
  });
  return app.Run();
}
