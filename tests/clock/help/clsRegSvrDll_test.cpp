// The component registration helper: its dialogue with scripted owners,
// and the owners' routines on the real components, from an empty registry.
#include "clock/help/clsRegSvrDll.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "clock/help/basComponents.h"
#include "clock/help/basSystem.h"
#include "clock/sound/SpeakerControl.h"
#include "htmlview/Quillet.h"
#include "platform/com/ComRegistry.h"
#include "platform/Module.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/RecordingMessageBox.h"

namespace {

using platform::vbNo;
using platform::vbYes;

// A helper for "TEGSPKR3.OCX" (found on the search path) whose owner
// creates an object only once registered, and whose registration call
// leaves the scripted error number and system error.
struct Dialogue : testing::Test {
  Dialogue() {
    helper.SetFileName("C:/WINDOWS/SYSTEM/TEGSPKR3.OCX");
    helper.TestInstanced = [this](int32_t& rlngResult) {
      ++tests;
      rlngResult = registered ? 0 : 429;
    };
    helper.DllRegisterServer = [this] {
      ++registrations;
      if (raise) platform::RaiseError(raise);
      platform::SetLastDllError(lastError);
      registered = lastError == 0 && !stuck;
    };
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> out;
    for (const auto& call : box.Calls) {
      EXPECT_EQ(call.Title, "Kelvora");
      out.push_back(call.Prompt + "|" + std::to_string(call.Style));
    }
    return out;
  }

  platform::FakeClock clock;
  platform::RecordingMessageBox box;
  clsRegSvrDll helper;
  bool registered = false, stuck = false;
  int32_t raise = 0, lastError = 0;
  int tests = 0, registrations = 0;
};

TEST_F(Dialogue, AlreadyRegisteredSaysNothing) {
  registered = true;
  EXPECT_TRUE(helper.TryDllRegist(false));
  EXPECT_TRUE(box.Calls.empty());
  EXPECT_EQ(registrations, 0);
  EXPECT_EQ(helper.FileName(), "TEGSPKR3.OCX");
}

TEST_F(Dialogue, AskedRegisteredThenUsableInTheSecondRound) {
  box.Answers = {vbYes};
  EXPECT_TRUE(helper.TryDllRegist(false));
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"TEGSPKR3.OCXをレジストリー登録しますか？|4",
                                                 "TEGSPKR3.OCX レジストリー登録成功|0"}));
  EXPECT_EQ(registrations, 1);
  EXPECT_EQ(tests, 2);
  EXPECT_EQ(clock.Sleeps, (std::vector<uint32_t>{100}));
}

TEST_F(Dialogue, NoAnswerFailedRegistrationAndMissingFileEndFalse) {
  box.Answers = {vbNo};
  EXPECT_FALSE(helper.TryDllRegist(false));
  EXPECT_EQ(registrations, 0);
  EXPECT_EQ(box.Calls.size(), 1u);

  box.Calls.clear();
  lastError = 5;  // the entry point ran but failed
  box.Answers = {vbYes};
  EXPECT_FALSE(helper.TryDllRegist(false));
  EXPECT_EQ(Prompts().back(), "TEGSPKR3.OCX レジストリー登録失敗|0");

  box.Calls.clear();
  helper.SetFileName("NOSUCH.OCX");
  EXPECT_FALSE(helper.TryDllRegist(false));
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"NOSUCH.OCX 参照可能なディレクトリー位置にありません|0"}));
  box.Calls.clear();
  EXPECT_FALSE(helper.TryDllRegist(true));
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(Dialogue, NoMsgRegistersWithoutAskingAndFailsQuietly) {
  EXPECT_TRUE(helper.TryDllRegist(true));
  EXPECT_EQ(registrations, 1);
  registered = false;
  raise = platform::errDllLoad;
  EXPECT_FALSE(helper.TryDllRegist(true));
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(Dialogue, RegisteredTwiceButStillNotCreatableIsNotUsable) {
  stuck = true;
  box.Answers = {vbYes, platform::vbOK, vbYes};
  EXPECT_FALSE(helper.TryDllRegist(false));
  EXPECT_EQ(registrations, 2);
}

TEST_F(Dialogue, RegistrationCodesFromTheErrorTheHandlerLeft) {
  EXPECT_EQ(helper.RegSvrDll(), 5);
  lastError = 1;
  EXPECT_EQ(helper.RegSvrDll(), 6);
  raise = platform::errDllLoad;
  EXPECT_EQ(helper.RegSvrDll(), 2);
  raise = platform::errDllEntryNotFound;
  EXPECT_EQ(helper.RegSvrDll(), 3);
  helper.DllUnRegisterServer = [] {};
  EXPECT_EQ(helper.UnRegSvrDll(), 8);
  // No owner handles the event: the error is reported and nothing is claimed.
  helper.DllUnRegisterServer = nullptr;
  EXPECT_EQ(helper.UnRegSvrDll(), 0);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Style, platform::vbCritical);
  EXPECT_EQ(helper.MSG(9), " レジストリー解除失敗");
  EXPECT_EQ(helper.MSG(2), "");
}

// The owners' routines on the built components, starting with nothing
// registered: the first check asks, the next one is silent.
struct Owners : testing::Test {
  void SetUp() override { std::filesystem::remove(platform::com::ComponentRegistryPath()); }
  void TearDown() override { platform::com::CoFreeUnusedLibraries(); }
  platform::FakeClock clock;
  platform::RecordingMessageBox box;
};

TEST_F(Owners, FirstStartAsksToRegisterQuilletThenItIsUsable) {
  EXPECT_EQ(basComponents::TryCreateObject(Quillet::kclsHTML), 429);
  box.Answers = {vbYes};
  EXPECT_TRUE(basComponents::CheckComponent(basComponents::kQuilletFile, Quillet::kclsHTML, false));
  ASSERT_EQ(box.Calls.size(), 2u);
  EXPECT_EQ(box.Calls[0].Prompt, "Quillet.dllをレジストリー登録しますか？");
  EXPECT_EQ(box.Calls[1].Prompt, "Quillet.dll レジストリー登録成功");
  EXPECT_EQ(basComponents::TryCreateObject(Quillet::kclsHTML), 0);

  box.Calls.clear();
  EXPECT_TRUE(basComponents::CheckComponent(basComponents::kQuilletFile, Quillet::kclsHTML, false));
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(Owners, TheSpeakerIsRegisteredQuietlyWithNoMsgAndUnregisteredAgain) {
  EXPECT_TRUE(basComponents::CheckComponent(basComponents::kSpeakerFile, kSpeakerClass, true));
  EXPECT_TRUE(box.Calls.empty());
  EXPECT_NE(CreateSpeakerControl(), nullptr);

  clsRegSvrDll helper;
  helper.SetFileName(basComponents::kSpeakerFile);
  basComponents::HandleEvents(helper, basComponents::kSpeakerFile, kSpeakerClass);
  EXPECT_EQ(helper.UnRegSvrDll(), 8);
  EXPECT_FALSE(helper.CheckRegisted());
  EXPECT_EQ(CreateSpeakerControl(), nullptr);

  EXPECT_THROW(basComponents::CallDllRegisterServer("NOSUCH.DLL"), platform::RuntimeError);
  EXPECT_EQ(helper.MSG(5), " レジストリー登録成功");
}

TEST(basSystem, NoWindowsHereSoBothSpeakerPathsRun) {
  std::string sub = "unchanged";
  EXPECT_EQ(basSystem::GetWindowsVersion(sub), 0);
  EXPECT_EQ(sub, "unchanged");
  EXPECT_FALSE(basSystem::IsWindowsNT());
  EXPECT_EQ(basSystem::WindowsFolder(), "");
  bool force = true;
  EXPECT_EQ(basSystem::ReadCurrentVersionValue(0, 0, "Version", force), "");
}

}  // namespace
