// Opening the help: the stored file, else the program's own help document
// beside it (its name's case ignored), else the file dialog; without the
// viewer component the desktop's program for the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
#include "platform/Module.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/fake/RecordingShell.h"
#include "platform/fake/ScriptedCommonDialogs.h"

namespace {

namespace fs = std::filesystem;

// No settings dialog: the viewer counts as not usable and the file goes to
// the desktop, which the shell double records.
struct OpenHelpTest : testing::Test {
  ~OpenHelpTest() override { fs::remove(helpFile); }
  platform::MemorySettingsStore store;
  platform::RecordingShell shell;
  platform::ScriptedCommonDialogs dialogs;
  platform::RecordingMessageBox box;
  Program program{platform::Application::Current()};
  frmMain& clock = program.MakeClock();  // owns the file dialog
  const fs::path helpFile = fs::path(platform::ProgramFolder()) / "Kelvora.htm";
};

TEST_F(OpenHelpTest, TheDocumentBesideTheProgramOpensWithoutADialogAndNothingIsStored) {
  std::ofstream(helpFile) << "<HTML><BODY>help</BODY></HTML>";
  basMain::OpenHelp(program);
  EXPECT_TRUE(dialogs.FileCalls.empty());
  ASSERT_EQ(shell.Opened.size(), 1u);
  EXPECT_EQ(fs::path(shell.Opened[0]), helpFile);
  EXPECT_TRUE(store.WrittenKeys.empty());
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(OpenHelpTest, WithoutADocumentTheDialogAsksAndACancelStoresAndOpensNothing) {
  basMain::OpenHelp(program);
  ASSERT_EQ(dialogs.FileCalls.size(), 1u);
  EXPECT_EQ(dialogs.FileCalls[0].Info.lpstrTitle, "HTML ヘルプファイル名の選択");
  EXPECT_EQ(dialogs.FileCalls[0].Info.Flags,
            platform::OFN_LONGNAMES | platform::OFN_FILEMUSTEXIST | platform::OFN_HIDEREADONLY);
  EXPECT_TRUE(shell.Opened.empty());
  EXPECT_TRUE(store.WrittenKeys.empty());
}

TEST_F(OpenHelpTest, AChosenFileIsStoredAndUsedNextTime) {
  const fs::path chosen = fs::path(platform::ProgramFolder()) / "chosen-help.htm";
  std::ofstream(chosen) << "x";
  dialogs.FileAnswers.push_back({true, chosen.string(), "chosen-help.htm", 0});
  basMain::OpenHelp(program);
  EXPECT_EQ((store.Values[{"Kelvora", "Settings", "HTMLHelpFile"}]), chosen.string());
  basMain::OpenHelp(program);  // the stored file: no second question
  EXPECT_EQ(dialogs.FileCalls.size(), 1u);
  EXPECT_EQ(shell.Opened, (std::vector<std::string>{chosen.string(), chosen.string()}));
  fs::remove(chosen);
}

}  // namespace
