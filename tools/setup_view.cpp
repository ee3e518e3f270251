// setup_view: the clock and its settings dialog as the program shows them,
// with the dialog open on the screen; for looking at the dialog.
//   setup_view [--tab N] [--parked]
//   --tab N    N = 0 display page (default), 1 time-signal page, 2 detail page
//   --parked   the dialog starts parked off the screen, as at start-up; the
//              clock's menu (right button) or the tray icon call it
// The settings come from and go to the user's settings file, as the clock's.
#include <cstdlib>
#include <cstring>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "clock/widgets/clsTabStrip.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "Kelvora");
  int16_t tab = 0;
  bool parked = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tab") == 0 && i + 1 < argc) tab = static_cast<int16_t>(std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--parked") == 0) parked = true;
  }
  basMain::mstrSetUpTitle = "時計の設定メニュー  ";
  SettingsStore::LoadSettings();
  Program program(app);
  frmMain& clock = program.MakeClock();
  clock.Form_Load();
  frmSetUp& setup = program.MakeSetUp();
  setup.Form_Load();
  setup.CheckComponents();
  basMain::MoveOffScreen(setup.Form());
  basMain::AddSettingsMenuItem(program);
  setup.Form().Show();
  clock.Form().Show();
  clock.Form().ZOrder(0);
  if (!parked) basMain::OpenSettingsDialog(program);
  if (tab != 0 && setup.mcTabStrip) {  // the pages exist once the dialog opened
    setup.mcTabStrip->SetSelectedIndex(tab);
    setup.mcTabStrip_TabChanged();
  }
  return app.Run();
}
