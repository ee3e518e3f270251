// Kelvora's start routine: load the settings, show the clock, run until the
// clock is closed. Closing saves the settings; so does the end of the
// session or a termination signal.
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "common/basGeneral.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "Kelvora");
  // A run-time error that no handler catches is shown, not fatal: here and
  // in every event the platform delivers.
  platform::Application::SetErrorReporter([](const std::exception& error) { basGeneral::ReportError(error); });
  platform::Application::Guard([] { SettingsStore::LoadSettings(); });

  frmMain clock;
  basMain::gfrmMain = &clock;
  platform::Application::Guard([&clock] { clock.Form_Load(); });
  platform::Application::Guard([&clock] { clock.RelayoutClock(); });
  clock.Form().Show();

  app.SetShutdownHandler([&clock] {
    int16_t cancel = 0;
    clock.Form_Unload(cancel);
  });
  return app.Run();
}
