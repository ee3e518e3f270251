// The start-up module's routines around the settings dialog: parking it off
// the screen with its system-menu item, and bringing it back.
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/WindowMessages.h"

namespace basMain {

void MoveOffScreen(platform::IForm& window) {
  if (!platform::Application::CanPlaceWindows()) {
    // The window system places windows itself: out of sight as an icon.
    window.SetWindowState(platform::vbMinimized);
    return;
  }
  window.Move(-window.Width(), -window.Height(), window.Width(), window.Height());
}

void AddSettingsMenuItem() {
  if (!gfrmSetUp) return;
  const platform::HWND hWnd = gfrmSetUp->Form().hWnd();
  platform::GetSystemMenu(hWnd, 1);
  const platform::HMENU hMenu = platform::GetSystemMenu(hWnd, 0);
  platform::DeleteMenu(hMenu, 1, platform::MF_BYPOSITION);
  platform::AppendMenu(hMenu, platform::MF_SEPARATOR, 0, "");
  platform::AppendMenu(hMenu, 0, 512, "設定(&O)");
}

void OpenSettingsDialog() {
  if (!gfrmSetUp) {
    mblnSetUpOpen = false;  // no dialog to open: the clock stays usable
    return;
  }
  if (gfrmMain) frmMain::SetTopMost(gfrmMain->Form(), 0);
  mblnSetUpOpen = true;
  platform::IForm& dialog = gfrmSetUp->Form();
  // Parked as an icon where windows cannot be placed off the screen.
  if (dialog.WindowState() == platform::vbMinimized) dialog.SetWindowState(platform::vbNormal);
  basGeneral::CenterForm(dialog);
  dialog.Show();
  dialog.ZOrder(0);
  platform::GetSystemMenu(dialog.hWnd(), 1);
}

void FocusSettingsDialog() {
  if (gfrmSetUp) gfrmSetUp->Form().ZOrder(0);
}

void UnloadSettingsDialog() {
  if (gfrmSetUp) gfrmSetUp->Form().Unload();
  else if (gfrmMain) gfrmMain->Form().Unload();  // the clock is the last window
}

}  // namespace basMain
