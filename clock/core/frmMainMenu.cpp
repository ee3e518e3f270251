// The clock window's popup menu: settings, clipboard copy, help, about and
// the end of the program.
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"

void frmMain::CreatePopupMenu() {
  mnuPopUp.Name = "mnuPopUp";
  mnuPopUp.Caption = "mnuPopUp";
  mnuPopUp.Visible = false;
  mnuPopUp.Items = {
      {"mnuSetUp", "設定(&C)", [this] { mnuSetUp_Click(); }},
      {"mnuCopy", "クリップボードへコピー(&V)", [this] { mnuCopy_Click(); }},
      {"mnuHelp2", "Kelvora ヘルプ(&M)", [this] { mnuHelp2_Click(); }},
      {"mnuVer1", "バージョン情報(&A)", [this] { mnuVer1_Click(); }},
      {"mnuLine1", "-", nullptr},
      {"mnuEnd", "終了(&X)", [this] { mnuEnd_Click(); }},
  };
}

void frmMain::mnuSetUp_Click() {
  basMain::mblnSetUpOpen = true;
  basMain::OpenSettingsDialog(mProgram);
}

void frmMain::mnuCopy_Click() { basMain::CopyTimeToClipboard(); }

void frmMain::mnuHelp2_Click() { basMain::OpenHelp(mProgram); }

void frmMain::mnuVer1_Click() { basMain::ShowVersionInfo(mProgram); }

void frmMain::mnuEnd_Click() { basMain::UnloadSettingsDialog(mProgram); }
