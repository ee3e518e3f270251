// The start-up module's routines for the help and the about box, shared by
// the clock's menu and the settings dialog.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "clock/core/Program.h"
#include "clock/core/ProgramVersion.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/help/frmHTMLHelp.h"
#include "clock/help/frmVersionInfo.h"
#include "clock/settings/frmSetUp.h"
#include "clock/widgets/clsCommonDialog1.h"
#include "common/basGeneral.h"
#include "platform/Module.h"
#include "platform/RuntimeError.h"
#include "platform/Shell.h"

namespace basMain {
namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The file of that name in the folder, its letters' case ignored (the
// program asks for "Kelvora.HTM"; the file it ships is "Kelvora.htm").
// The name as asked when there is none.
std::string FileInFolderIgnoringCase(const std::string& folder, const std::string& name) {
  const std::string asked = basGeneral::PathSlash(folder, 1) + name;
  std::error_code error;
  if (std::filesystem::is_regular_file(asked, error)) return asked;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (Upper(entry.path().filename().string()) == Upper(name) && entry.is_regular_file(error)) {
      return entry.path().string();
    }
  }
  return asked;
}

// Lets the user pick the help file; empty when cancelled.
std::string ChooseHelpFile(const Program& program) {
  clsCommonDialog1 dialog;
  // Owned by the settings dialog (by the clock while there is none).
  if (program.SetUp()) dialog.SetForm(&program.SetUp()->Form());
  else if (program.Clock()) dialog.SetForm(&program.Clock()->Form());
  dialog.SetDialogTitle("HTML ヘルプファイル名の選択");
  dialog.SetFilter("HTM Files (*.HTM)|*.HTM|HTML Files (*.HTML)|*.HTML");
  dialog.SetFilterIndex(0);
  dialog.SetFlags(0x201004);  // OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_LONGNAMES
  dialog.SetInitDir(platform::ProgramFolder());
  dialog.ShowOpen();
  return dialog.CancelError() ? std::string() : dialog.FileName();
}

}  // namespace

void OpenHelp(Program& program) {
  try {
    std::string file = SettingsStore::GetAppSetting("HTMLHelpFile", "");
    if (file.empty()) {
      file = FileInFolderIgnoringCase(platform::ProgramFolder(), std::string(ProgramVersion::EXEName) + ".HTM");
    }
    if (basGeneral::PathExists(file, false) == 0) {
      file = ChooseHelpFile(program);
      if (file.empty()) return;
      SettingsStore::SaveAppSetting("HTMLHelpFile", file);
    }
    if (!program.SetUp() || !program.SetUp()->mblnHTMLHelpReady) {
      // Without the viewer component: the program the desktop opens such files with.
      basGeneral::SetBusyCursor(true);
      platform::Shell().Open(file);
      basGeneral::SetBusyCursor(false);
      return;
    }
    frmHTMLHelp& help = program.MakeHelpWindow();
    help.SetHTMLHelpFile(file);
    help.Show();
  } catch (const platform::RuntimeError&) {
    // The help never reports errors.
    basGeneral::SetBusyCursor(false);
  }
}

void UnloadHelpWindow(Program& program) {
  frmHTMLHelp* help = program.HelpWindow();
  if (help && help->Loaded()) help->Unload();
}

void ShowVersionInfo(Program& program) {
  frmVersionInfo about(mpicMainIcon, program.Clock() ? &program.Clock()->Form() : nullptr);
  about.Show();
}

}  // namespace basMain
