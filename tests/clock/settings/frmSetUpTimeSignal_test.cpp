// The time-signal page: its boxes, the file chooser, the test button by
// signal kind, and the date and time settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SetUpFixture.h"
#include "platform/Module.h"

namespace {

using namespace setuptest;
using namespace platform;
using namespace std::string_literals;

TEST_F(SetUpFixture, TheBoxesSetTheSignalAndItsKindAtOnce) {
  frmSetUp& d = Load();
  d.Text1->SetText("MML:CDE");
  Click(5);
  EXPECT_TRUE(SettingsStore::NoUseTimeSignal);
  EXPECT_EQ(basMain::mintTimeSignalKind, -1);
  Click(5);
  EXPECT_EQ(basMain::mintTimeSignalKind, 1);
  Click(4);
  EXPECT_TRUE(SettingsStore::TimeSignalRepeat);
  // The buzzer box is disabled this run: clicks on it are ignored.
  Click(6);
  EXPECT_FALSE(SettingsStore::UsePCBuzzer);
  EXPECT_TRUE(messages.Calls.empty());
}

TEST_F(SetUpFixture, TestingTellsWhatCannotSound) {
  frmSetUp& d = Load();
  ShowTimeSignalPage();
  // Signal off: nothing at all.
  Click(5);
  d.Text1->SetText("/no/such/file.wav");
  d.Command1(5).SetValue(true);
  EXPECT_TRUE(messages.Calls.empty());

  Click(5);
  d.Command1(5).SetValue(true);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"ファイルが見つかりません|16"});

  // Without a sound device a melody or a file that would sound says so
  // instead of staying silent; a missing file is still named as such.
  basMain::mblnNoSoundOutput = true;
  messages.Calls.clear();
  d.Command1(5).SetValue(true);
  d.Text1->SetText("MML:CDE");
  d.Command1(5).SetValue(true);
  basMain::mblnNoSoundOutput = false;
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"ファイルが見つかりません|16",
                                                 "音声出力装置が見つからないため、音を鳴らせません|48"}));
  EXPECT_FALSE(d.mcPlayMML) << "nothing plays";
}

TEST_F(SetUpFixture, AMelodyThePlayerRejectsIsReportedAndTheDialogStaysUsable) {
  frmSetUp& d = Load();
  ShowTimeSignalPage();
  d.Text1->SetText("MML:CDEL0C");  // a length of 0: division by zero
  d.Command1(5).SetValue(true);
  ASSERT_EQ(messages.Calls.size(), 1u);
  EXPECT_EQ(messages.Calls[0].Style, vbCritical) << messages.Calls[0].Prompt;
  EXPECT_EQ(d.mcPlayMML, nullptr);
  EXPECT_EQ(clock->Timer1->Interval(), 500);

  // Still usable: another test goes through.
  messages.Calls.clear();
  d.Text1->SetText("/no/such/file.wav");
  d.Command1(5).SetValue(true);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"ファイルが見つかりません|16"});
}

TEST_F(SetUpFixture, AMelodyWithoutThePortModuleSaysWhatIsMissing) {
  frmSetUp& d = Load();
  ShowTimeSignalPage();
  const std::string path = std::getenv("KELVORA_MODULE_PATH") ? std::getenv("KELVORA_MODULE_PATH") : "";
  unsetenv("KELVORA_MODULE_PATH");
  d.Text1->SetText("MML:CDE");
  d.Command1(5).SetValue(true);
  if (!path.empty()) setenv("KELVORA_MODULE_PATH", path.c_str(), 1);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"MML 再生機能を利用する場合には、DWSPY5.DLL を導入して下さい|64"});
  EXPECT_EQ(d.mcPlayMML, nullptr);
}

TEST_F(SetUpFixture, TheFileChooserStartsAtTheTextsFolderAndTakesTheChoice) {
  frmSetUp& d = Load();
  ShowTimeSignalPage();
  // Cancelled: the text stays.
  d.Text1->SetText("/usr/share/sounds/chime.wav");
  d.Command1(4).SetValue(true);
  ASSERT_EQ(dialogs.FileCalls.size(), 1u);
  const OpenFileNameInfo& ofn = dialogs.FileCalls[0].Info;
  EXPECT_EQ(ofn.lpstrInitialDir, "/usr/share/sounds/");
  EXPECT_EQ(ofn.lpstrTitle, "WAVE ファイル名の選択");
  // One existing file, no read-only box, long names.
  EXPECT_EQ(ofn.Flags, OFN_LONGNAMES | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
  EXPECT_EQ(ofn.lpstrFilter, "Wave File (*.WAV) \0 *.WAV\0\0"s);
  EXPECT_EQ(ofn.hwndOwner, &d.Form());
  EXPECT_EQ(d.Text1->Text(), "/usr/share/sounds/chime.wav");

  // A melody has no folder: the program's own.
  d.Text1->SetText("MML:CDE");
  dialogs.FileAnswers.push_back({true, "/home/user/hour.wav", "hour.wav", 0});
  d.Command1(4).SetValue(true);
  EXPECT_EQ(dialogs.FileCalls[1].Info.lpstrInitialDir, ProgramFolder());
  EXPECT_EQ(d.Text1->Text(), "/home/user/hour.wav");
}

TEST_F(SetUpFixture, DateAndTimeSettingsOpenTheDesktopsToolOrSaySoWhenThereIsNone) {
  frmSetUp& d = Load();
  d.Command1(2).SetValue(true);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"日付と時刻を設定するプログラムが見つかりません|48"});
  EXPECT_TRUE(programs.Started.empty());

  messages.Calls.clear();
  programs.Installed = {"gnome-control-center", "time-admin"};
  d.Command1(2).SetValue(true);
  ASSERT_EQ(programs.Started.size(), 1u);
  EXPECT_EQ(programs.Started[0].Program, "gnome-control-center");
  EXPECT_EQ(programs.Started[0].Arguments, std::vector<std::string>{"datetime"});
  EXPECT_TRUE(messages.Calls.empty());
}

}  // namespace
