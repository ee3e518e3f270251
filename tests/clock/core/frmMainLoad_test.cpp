// Start-up with well-formed settings files whose values the clock cannot
// use: the clock must start with the keys' defaults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "platform/Application.h"
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
  Program program{platform::Application::Current()};
  frmMain clock{program};
};

TEST(ClockStart, AFontWeightOrColourOutOfRangeReadsAsTheDefault) {
  StartWithFile start("[Settings]\nFontWeight=2e8\nFontColor=1e10\nFontBold=-1\n");
  EXPECT_EQ(start.clock.Label1(0).Font().Weight, 400);
  EXPECT_TRUE(start.clock.Label1(1).Font().Bold);
  EXPECT_EQ(start.clock.Label1(0).ForeColor(), platform::SystemColor(platform::COLOR_BTNTEXT));
  EXPECT_EQ(start.clock.Label1(1).ForeColor(), platform::SystemColor(platform::COLOR_BTNTEXT));
  EXPECT_TRUE(start.box.Calls.empty());
}

TEST(ClockStart, AStoredWidthOfTheFaceComesBackAndOlderFilesKeepTheFacesOwn) {
  double condensedWidth = 0;
  {
    StartWithFile start("[Settings]\nFontName=DejaVu Sans\nFontStretch=75\n");
    EXPECT_EQ(start.clock.Label1(0).Font().Stretch, 75);
    EXPECT_EQ(start.clock.Label1(1).Font().Stretch, 75);
    start.clock.Label1(0).SetFontSize(20);
    condensedWidth = start.clock.Label1(0).Width();
    int16_t cancel = 0;
    start.clock.Form_Unload(cancel);
    EXPECT_EQ(start.store->GetSetting("Kelvora", "Settings", "FontStretch"), "75");
  }
  StartWithFile old("[Settings]\nFontName=DejaVu Sans\n");
  EXPECT_EQ(old.clock.Label1(0).Font().Stretch, 0);
  old.clock.Label1(0).SetFontSize(20);
  EXPECT_LT(condensedWidth, old.clock.Label1(0).Width() * 0.95) << "the condensed face is drawn";
  int16_t cancel = 0;
  old.clock.Form_Unload(cancel);
  EXPECT_FALSE(old.store->GetSetting("Kelvora", "Settings", "FontStretch")) << "older files keep their keys";
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
