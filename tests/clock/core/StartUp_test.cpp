// The start routine: in this process (the windows it makes, the unload
// chain) and as the real program (a second copy, a termination signal).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "platform/Application.h"
#include "platform/com/ComRegistry.h"
#include "platform/Services.h"
#include "platform/WindowMessages.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

TEST(StartUp, TheClockShowsTheDialogWaitsParkedAndItsUnloadEndsEverythingWithTheSettingsSaved) {
  platform::MemorySettingsStore store;
  platform::RecordingMessageBox box;
  // No component questions: the checks register quietly when they can.
  store.Values[{"Kelvora", "Settings", "NoTestDllReg"}] = "-1";
  store.Values[{"Kelvora", "Settings", "MoveSide"}] = "1";

  Program program(platform::Application::Current());
  ASSERT_TRUE(basMain::StartUp(program));
  EXPECT_TRUE(box.Calls.empty());
  ASSERT_NE(program.Clock(), nullptr);
  ASSERT_NE(program.SetUp(), nullptr);
  EXPECT_EQ(basMain::mstrSetUpTitle, "時計の設定メニュー  ");

  // Shown, but off every screen: left of and above the origin.
  platform::IForm& dialog = program.SetUp()->Form();
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Left(), -dialog.Width());
  EXPECT_EQ(dialog.Top(), -dialog.Height());
  EXPECT_FALSE(basMain::mblnSetUpOpen);
  const std::vector<platform::MenuItem> menu = platform::SystemMenuItems(dialog.hWnd());
  ASSERT_GE(menu.size(), 2u);
  EXPECT_TRUE(menu[menu.size() - 2].IsSeparator());
  EXPECT_EQ(menu.back().Text, "設定(&O)");
  EXPECT_EQ(menu.back().Id, 512u);
  EXPECT_TRUE(program.Clock()->Form().Visible());
  // The dialog's load gave the rows their first fitted sizes.
  EXPECT_GT(program.Clock()->msngRowFontSize[0], 0);

  // Where the parked dialog stays in place it is found on the screen.
  basMain::CheckPlacementHonoured(program);
  EXPECT_FALSE(basMain::mblnPlacementRefused);
  EXPECT_TRUE(dialog.Visible());

  dialog.Unload();
  EXPECT_EQ(program.Clock(), nullptr) << "the clock went with the dialog";
  EXPECT_EQ((store.Values[{"Kelvora", "Settings", "MoveSide"}]), "1");
  EXPECT_FALSE((store.Values[{"Kelvora", "Settings", "MainWidth"}]).empty());
  program.ReleaseWindows();
}

TEST(StartUp, TheComponentQuestionsComeOnceTheClockShowsSpeakerFirstAndTheBuzzerBoxFollowsTheAnswer) {
  platform::MemorySettingsStore store;
  platform::RecordingMessageBox box;
  std::filesystem::remove(platform::com::ComponentRegistryPath());
  box.Answers = {platform::vbYes, platform::vbOK, platform::vbYes, platform::vbOK};
  Program program(platform::Application::Current());
  ASSERT_TRUE(basMain::StartUp(program));
  EXPECT_TRUE(box.Calls.empty()) << "nothing is asked before the clock's first frame";

  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (box.Calls.size() < 4 && std::chrono::steady_clock::now() < until) {
    platform::Application::DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::vector<std::string> prompts;
  for (const auto& call : box.Calls) prompts.push_back(call.Prompt);
  EXPECT_EQ(prompts, (std::vector<std::string>{"TEGSPKR3.OCXをレジストリー登録しますか？", "TEGSPKR3.OCX レジストリー登録成功",
                                               "Quillet.dllをレジストリー登録しますか？", "Quillet.dll レジストリー登録成功"}));
  EXPECT_TRUE(basMain::mblnSpeakerReady);
  EXPECT_TRUE(program.SetUp()->mblnHTMLHelpReady);
  // The buzzer box, made when the dialog first opens, follows the answer.
  basMain::OpenSettingsDialog(program);
  EXPECT_TRUE(program.SetUp()->Check1(6).Enabled());

  program.SetUp()->Form().Unload();
  program.ReleaseWindows();
}

TEST(StartUp, ARunThatNeverOpensTheDialogSavesTheSettingsItFound) {
  const std::map<std::string, std::string> stored = {
      {"NoTestDllReg", "-1"},      {"MoveSide", "2"},           {"TopMost", "-1"},
      {"UpperRow", "0"},           {"UnderRow", "1"},           {"UnderRowFormat", "h:m:s"},
      {"UpperRowFormat", "GGG ee年MM月DD日 AAAA"}, {"WavFile", "MML:T150O5CDEFG"}, {"UsePCBuzzer", "-1"},
      {"TimeSignalRepeat", "-1"},  {"NoUseTimeSignal", "-1"},   {"FontName", "IPAPGothic"},
  };
  const char* const kStages[] = {"ended at once", "loaded", "opened and put away"};
  for (int stage = 0; stage < 3; ++stage) {
    platform::MemorySettingsStore store;
    platform::RecordingMessageBox box;
    for (const auto& [key, value] : stored) store.Values[{"Kelvora", "Settings", key}] = value;
    Program program(platform::Application::Current());
    ASSERT_TRUE(basMain::StartUp(program));
    // Ended at once, or after the dialog and the checks have loaded, or
    // after the dialog's pages were made and filled and it was left by 了解.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(stage > 0 ? 1500 : 0);
    while (std::chrono::steady_clock::now() < until) platform::Application::DoEvents();
    if (stage == 2) {
      basMain::OpenSettingsDialog(program);
      program.SetUp()->Command1(frmSetUp::kOKButton).SetValue(true);
    }
    program.SetUp()->Form().Unload();
    program.ReleaseWindows();
    for (const auto& [key, value] : stored) {
      EXPECT_EQ((store.Values[{"Kelvora", "Settings", key}]), value) << key << " (" << kStages[stage] << ")";
    }
    EXPECT_TRUE(box.Calls.empty()) << kStages[stage];
  }
}

TEST(StartUp, AParkedDialogKeptOnTheScreenIsHiddenAndOnlyAClockThatCannotDockTellsTheUserOnceForGood) {
  platform::MemorySettingsStore store;
  platform::RecordingMessageBox box;
  store.Values[{"Kelvora", "Settings", "NoTestDllReg"}] = "-1";
  Program program(platform::Application::Current());
  ASSERT_TRUE(basMain::StartUp(program));
  platform::IForm& dialog = program.SetUp()->Form();
  platform::IForm& clock = program.Clock()->Form();
  // As a window system that places windows itself would have the dialog;
  // the clock still docks, so nobody is bothered.
  dialog.Move(3000, 3000, dialog.Width(), dialog.Height());
  basMain::CheckPlacementHonoured(program);
  EXPECT_TRUE(basMain::mblnPlacementRefused);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(box.Calls.empty());

  // Opened and parked again: shown, then hidden.
  basMain::OpenSettingsDialog(program);
  EXPECT_TRUE(dialog.Visible());
  basMain::mblnSetUpOpen = false;
  basMain::MoveOffScreen(dialog);
  EXPECT_FALSE(dialog.Visible());

  // A clock kept away from its corner: told once, and not at the next start.
  clock.Move(3000, 3000, clock.Width(), clock.Height());
  basMain::CheckPlacementHonoured(program);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Style, platform::vbInformation);
  basMain::CheckPlacementHonoured(program);
  EXPECT_EQ(box.Calls.size(), 1u);

  dialog.Unload();
  program.ReleaseWindows();
  basMain::mblnPlacementRefused = false;
}

TEST(StartUp, AltF4AndTheClocksCloseCommandEndTheWholeProgramThroughTheDialogsUnload) {
  for (const bool byKey : {true, false}) {
    platform::MemorySettingsStore store;
    store.Values[{"Kelvora", "Settings", "NoTestDllReg"}] = "-1";
    Program program(platform::Application::Current());
    ASSERT_TRUE(basMain::StartUp(program));
    frmMain& clock = *program.Clock();
    platform::IForm& dialog = program.SetUp()->Form();
    if (byKey) {
      int16_t key = 115;
      clock.Form_KeyDown(key, platform::vbAltMask);
    } else {
      // A window manager's close (its Alt+F4, a window menu): the user's
      // close command on the clock.
      platform::SendMessage(clock.Form().hWnd(), platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0);
    }
    EXPECT_FALSE(dialog.Visible()) << byKey;
    EXPECT_FALSE(clock.Form().Visible()) << byKey;
    EXPECT_TRUE(clock.mblnUnloaded) << byKey;
    EXPECT_FALSE((store.Values[{"Kelvora", "Settings", "MainLeft"}]).empty()) << byKey;
    program.ReleaseWindows();
  }
}

// ---- the real program

struct Program {
  pid_t Pid = -1;
};

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    mHome = fs::path(tmp ? tmp : "/tmp") / "program";
    fs::remove_all(mHome);
    for (const char* dir : {"config/Kelvora", "data", "runtime"}) fs::create_directories(mHome / dir);
    fs::permissions(mHome / "runtime", fs::perms::owner_all);
    // A settings file that asks no component questions: a modal question
    // would wait for an answer nobody gives here.
    std::ofstream(Settings()) << "[Settings]\nNoTestDllReg=-1\nMoveSide=2\n";
  }

  fs::path Settings() const { return mHome / "config/Kelvora/Kelvora.ini"; }

  Program Start() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("XDG_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0) env.push_back(entry);
    }
    env.push_back("XDG_CONFIG_HOME=" + (mHome / "config").string());
    env.push_back("XDG_DATA_HOME=" + (mHome / "data").string());
    env.push_back("XDG_RUNTIME_DIR=" + (mHome / "runtime").string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::string program = KV_KELVORA_PROGRAM;
    std::vector<char*> argv{program.data(), nullptr}, envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    Program p;
    if (posix_spawn(&p.Pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) p.Pid = -1;
    return p;
  }

  // The exit code, or −1 when the program did not end within the time.
  static int Wait(Program& p, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(p.Pid, &status, WNOHANG) == p.Pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(p.Pid, SIGKILL);
    ::waitpid(p.Pid, nullptr, 0);
    return -1;
  }

  // Waits until the first copy listens for later ones.
  bool Listening() const {
    for (int i = 0; i < 500; ++i) {
      if (fs::exists(mHome / "runtime/Kelvora.socket")) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  std::string SettingsText() const {
    std::ifstream in(Settings());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path mHome;
};

TEST_F(ProgramTest, ASecondCopyEndsAtOnceWithoutTouchingTheSettingsAndTheFirstSavesWhenTerminated) {
  Program first = Start();
  ASSERT_GT(first.Pid, 0);
  ASSERT_TRUE(Listening());
  const std::string before = SettingsText();

  Program second = Start();
  EXPECT_EQ(Wait(second, std::chrono::seconds(10)), 0);
  EXPECT_EQ(SettingsText(), before);

  // A termination signal ends the first copy through its unload chain.
  ::kill(first.Pid, SIGTERM);
  EXPECT_EQ(Wait(first, std::chrono::seconds(20)), 0);
  const std::string after = SettingsText();
  EXPECT_NE(after.find("MoveSide=2\n"), std::string::npos) << after;
  EXPECT_NE(after.find("MainLeft="), std::string::npos) << after;
  EXPECT_NE(after.find("UpperRowFormat="), std::string::npos) << after;
}

// A fresh user's first start asks whether to register the components; the
// session ending (or a kill) while that question waits must end the program
// through its unload chain, and must not be taken as a yes.
TEST_F(ProgramTest, ATerminationWhileAStartUpQuestionWaitsEndsTheProgramAndRegistersNothing) {
  std::ofstream(Settings()) << "[Settings]\nMoveSide=2\n";
  Program p = Start();
  ASSERT_GT(p.Pid, 0);
  ASSERT_TRUE(Listening());
  std::this_thread::sleep_for(std::chrono::seconds(1));
  ::kill(p.Pid, SIGTERM);
  EXPECT_EQ(Wait(p, std::chrono::seconds(20)), 0);
  EXPECT_NE(SettingsText().find("MainLeft="), std::string::npos) << SettingsText();
  for (const auto& entry : fs::recursive_directory_iterator(mHome / "data")) {
    EXPECT_FALSE(entry.is_regular_file()) << "written at the end: " << entry.path();
  }
}

}  // namespace
