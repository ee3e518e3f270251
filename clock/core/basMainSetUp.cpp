// The start-up module's routines around the settings dialog: parking it off
// the screen with its system-menu item, and bringing it back.
#include <cstdio>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/WindowMessages.h"

namespace basMain {

bool mblnPlacementRefused = false;

namespace {

// The settings key that remembers that the user was told: the message
// shows once, not at every start on the same desktop.
constexpr const char* kPlacementToldKey = "PlacementRefusedTold";

// On stderr at every start, in a message only the first time.
void ReportPlacementRefused() {
  const char* text =
      "このデスクトップでは、プログラムがウィンドウの位置を決められません。"
      "時計は画面の隅に移動せず、設定画面は閉じている間タスクバーに表示されません。";
  std::fprintf(stderr, "Kelvora: %s\n", text);
  if (SettingsStore::GetAppSetting(kPlacementToldKey) == "-1") return;
  SettingsStore::SaveAppSetting(kPlacementToldKey, "-1");
  platform::MessageBox().Show(text, platform::vbInformation, platform::Application::Title());
}

}  // namespace

void MoveOffScreen(platform::IForm& window) {
  if (!platform::Application::CanPlaceWindows() || mblnPlacementRefused) {
    // Out of sight: a window the window system would keep on the screen.
    window.Hide();
    return;
  }
  if (platform::Application::HasWindowManager()) {
    // A window manager keeps windows on the screen, at least partly: there
    // the window is iconified instead, which shows no pixel and keeps its
    // taskbar entry. It waits where the settings open, centred, so that
    // restoring it shows it in place.
    if (window.WindowState() == platform::vbMinimized) return;
    if (!window.Visible()) basGeneral::CenterForm(window);
    window.SetWindowState(platform::vbMinimized);
    return;
  }
  window.Move(-window.Width(), -window.Height(), window.Width(), window.Height());
}

bool CheckPlacementHonoured(Program& program, bool vblnLastLook) {
  frmSetUp* setUp = program.SetUp();
  if (!setUp) return true;
  // The clock: in its corner, unless the window system places windows
  // itself. Only then is the user told.
  bool clockPlaced = platform::Application::CanPlaceWindows();
  frmMain* clock = program.Clock();
  if (clockPlaced && clock && SettingsStore::MoveSide != 4) clockPlaced = clock->IsInCorner();
  // The parked dialog: iconified or off every screen. A window manager
  // that started after the program put it on the screen: it is iconified
  // now. Where neither works it is hidden (and loses its taskbar entry).
  if (!mblnSetUpOpen) {
    platform::IForm& dialog = setUp->Form();
    const bool onScreen = dialog.Visible() && dialog.WindowState() != platform::vbMinimized &&
                          dialog.Left() + dialog.Width() > 0 && dialog.Top() + dialog.Height() > 0;
    if (onScreen && platform::Application::HasWindowManager()) {
      MoveOffScreen(dialog);
    } else if (onScreen || !platform::Application::CanPlaceWindows()) {
      mblnPlacementRefused = true;
      dialog.Hide();
    }
  }
  if (!clockPlaced && vblnLastLook) ReportPlacementRefused();
  return clockPlaced;
}

void AddSettingsMenuItem(Program& program) {
  if (!program.SetUp()) return;
  const platform::HWND hWnd = program.SetUp()->Form().hWnd();
  platform::GetSystemMenu(hWnd, 1);
  const platform::HMENU hMenu = platform::GetSystemMenu(hWnd, 0);
  platform::DeleteMenu(hMenu, 1, platform::MF_BYPOSITION);
  platform::AppendMenu(hMenu, platform::MF_SEPARATOR, 0, "");
  platform::AppendMenu(hMenu, 0, 512, "設定(&O)");
}

void OpenSettingsDialog(Program& program) {
  frmSetUp* setUp = program.SetUp();
  if (!setUp) {
    mblnSetUpOpen = false;  // no dialog to open: the clock stays usable
    return;
  }
  if (program.Clock()) frmMain::SetTopMost(program.Clock()->Form(), 0);
  mblnSetUpOpen = true;
  setUp->Opening();
  platform::IForm& dialog = setUp->Form();
  basGeneral::CenterForm(dialog);
  // Parked under a window manager it is iconified as well.
  dialog.SetWindowState(platform::vbNormal);
  dialog.Show();
  dialog.ZOrder(0);
  platform::GetSystemMenu(dialog.hWnd(), 1);
}

void FocusSettingsDialog(Program& program) {
  if (program.SetUp()) program.SetUp()->Form().ZOrder(0);
}

void UnloadSettingsDialog(Program& program) {
  if (program.SetUp()) program.SetUp()->Form().Unload();
  else if (program.Clock()) program.Clock()->Form().Unload();  // the clock is the last window
}

}  // namespace basMain
