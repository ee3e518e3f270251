// Start-up with well-formed settings files whose values the clock cannot
// use: the clock must start with the keys' defaults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "platform/Services.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/qt/IniSettingsStore.h"

namespace {

namespace fs = std::filesystem;

struct StartWithFile {
  explicit StartWithFile(const std::string& text) {
    home = fs::path(std::getenv("XDG_CONFIG_HOME")) / "start-with-file";
    fs::remove_all(home);
    fs::create_directories(home / "Kelvora");
    std::ofstream(home / "Kelvora" / "Kelvora.ini", std::ios::binary) << text;
    store = std::make_unique<platform::qt::IniSettingsStore>(home.string());
    install = std::make_unique<platform::ScopedService<platform::ISettingsStore>>(*store);
    // The steps of the start routine.
    SettingsStore::LoadSettings();
    clock.Form_Load();
    clock.Form().Move(0, 0, 3000, 1500);
    clock.RelayoutClock();
  }
  fs::path home;
  platform::FakeClock time;
  platform::RecordingMessageBox box;
  std::unique_ptr<platform::qt::IniSettingsStore> store;
  std::unique_ptr<platform::ScopedService<platform::ISettingsStore>> install;
  frmMain clock;
};

TEST(ClockStart, AFontWeightOrColourOutOfRangeReadsAsTheDefault) {
  StartWithFile start("[Settings]\nFontWeight=2e8\nFontColor=1e10\nFontBold=-1\n");
  EXPECT_EQ(start.clock.Label1(0).Font().Weight, 400);
  EXPECT_TRUE(start.clock.Label1(1).Font().Bold);
  EXPECT_EQ(start.clock.Label1(0).ForeColor(), platform::SystemColor(platform::COLOR_BTNTEXT));
  EXPECT_EQ(start.clock.Label1(1).ForeColor(), platform::SystemColor(platform::COLOR_BTNTEXT));
  EXPECT_TRUE(start.box.Calls.empty());
}

TEST(ClockStart, AnUnusableStoredFormatShowsTheDefaultAndIsNamedOnce) {
  StartWithFile start("[Settings]\nUnderRowFormat=\"\n");
  EXPECT_EQ(start.clock.mstrRowText[0], "09:05:03");
  EXPECT_EQ(start.clock.mstrRowText[1], "月曜日 12/07");
  ASSERT_EQ(start.box.Calls.size(), 1u);
  EXPECT_NE(start.box.Calls[0].Prompt.find("\"\"\""), std::string::npos);
  // Ticking does not report it again.
  start.clock.Timer1_Timer();
  EXPECT_EQ(start.box.Calls.size(), 1u);
}

}  // namespace
