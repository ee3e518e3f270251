// setup_view: the clock and its settings dialog as the program shows them,
// with the dialog open on the screen; for looking at the dialog.
//   setup_view [--tab N]   N = 0 display page (default), 1 time-signal page
// The settings come from and go to the user's settings file, as the clock's.
#include <cstdlib>
#include <cstring>

#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "clock/widgets/clsTabStrip.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "Kelvora");
  int16_t tab = 0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--tab") == 0) tab = static_cast<int16_t>(std::atoi(argv[i + 1]));
  }
  basMain::mstrSetUpTitle = "時計の設定メニュー  ";
  SettingsStore::LoadSettings();
  frmMain clock;
  basMain::gfrmMain = &clock;
  clock.Form_Load();
  frmSetUp setup;
  basMain::gfrmSetUp = &setup;
  setup.Form_Load();
  setup.Form().Show();
  clock.Form().Show();
  basMain::OpenSettingsDialog();
  if (tab != 0) setup.mcTabStrip->SetSelectedIndex(tab), setup.mcTabStrip_TabChanged();
  return app.Run();
}
