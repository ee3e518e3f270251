// The start-up module's routines around the settings dialog: parking it off
// the screen with its system-menu item, and bringing it back.
#include <cstdio>

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

// Said once a run: on stderr and in one message.
void ReportPlacementRefused() {
  static bool reported = false;
  if (reported) return;
  reported = true;
  const char* text =
      "このデスクトップでは、プログラムがウィンドウの位置を決められません。"
      "時計は画面の隅に移動せず、設定画面は閉じている間タスクバーに表示されません。";
  std::fprintf(stderr, "Kelvora: %s\n", text);
  platform::MessageBox().Show(text, platform::vbInformation, platform::Application::Title());
}

}  // namespace

void MoveOffScreen(platform::IForm& window) {
  if (!platform::Application::CanPlaceWindows() || mblnPlacementRefused) {
    // Out of sight: a window the window system would keep on the screen.
    window.Hide();
    return;
  }
  window.Move(-window.Width(), -window.Height(), window.Width(), window.Height());
}

void CheckPlacementHonoured() {
  if (!gfrmSetUp || mblnSetUpOpen) return;
  platform::IForm& dialog = gfrmSetUp->Form();
  const bool onScreen = dialog.Visible() && dialog.Left() + dialog.Width() > 0 && dialog.Top() + dialog.Height() > 0;
  if (platform::Application::CanPlaceWindows() && !onScreen) return;
  mblnPlacementRefused = true;
  dialog.Hide();
  ReportPlacementRefused();
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
  gfrmSetUp->Opening();
  platform::IForm& dialog = gfrmSetUp->Form();
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
