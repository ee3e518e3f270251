#include "clock/core/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/fake/FakeClock.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/qt/IniSettingsStore.h"

namespace {

namespace fs = std::filesystem;
using platform::MemorySettingsStore;

// Every in-memory copy set to a value other than its default.
void SetEveryCopyAwayFromDefault() {
  SettingsStore::MoveSide = 1;
  SettingsStore::mintRows = {0, 1};
  SettingsStore::UpperRowFormat = "GGG ee年MM月DD日 AAAA";
  SettingsStore::UnderRowFormat = "AMPM hh時mm分ss秒";
  SettingsStore::TopMost = true;
  SettingsStore::TimeSignalRepeat = true;
  SettingsStore::NoUseTimeSignal = true;
  SettingsStore::UsePCBuzzer = true;
  SettingsStore::WavFile = "MML:T150O5CDEFG";
  SettingsStore::NoTestDllReg = true;
}

TEST(SettingsStore, AnEmptyStoreGivesEveryDefault) {
  MemorySettingsStore store;
  SetEveryCopyAwayFromDefault();
  SettingsStore::LoadSettings();
  EXPECT_EQ(SettingsStore::MoveSide, 3);
  EXPECT_EQ(SettingsStore::mintRows[0], 1);
  EXPECT_EQ(SettingsStore::mintRows[1], 1);
  EXPECT_EQ(SettingsStore::UnderRowFormat, "HH:MM:SS");
  EXPECT_EQ(SettingsStore::UpperRowFormat, "AAAA MM/DD");
  EXPECT_FALSE(SettingsStore::TopMost);
  EXPECT_FALSE(SettingsStore::TimeSignalRepeat);
  EXPECT_FALSE(SettingsStore::NoUseTimeSignal);
  EXPECT_FALSE(SettingsStore::UsePCBuzzer);
  EXPECT_EQ(SettingsStore::WavFile, "");
  EXPECT_FALSE(SettingsStore::NoTestDllReg);
  EXPECT_TRUE(store.WrittenKeys.empty());
}

TEST(SettingsStore, StoredTextIsDecodedAsNumbersOrZero) {
  MemorySettingsStore store;
  auto put = [&](const std::string& key, const std::string& value) { store.Values[{"Kelvora", "Settings", key}] = value; };
  put("TopMost", "True");          // only numbers count: "True" is false
  put("TimeSignalRepeat", " 7 ");  // any non-zero number is true
  put("UpperRow", "2");            // only exactly 1 shows a row
  put("UnderRow", "abc");
  put("MoveSide", "");             // an empty text is 0: the top edge
  put("NoUseTimeSignal", "-1");
  SettingsStore::LoadSettings();
  EXPECT_FALSE(SettingsStore::TopMost);
  EXPECT_TRUE(SettingsStore::TimeSignalRepeat);
  EXPECT_EQ(SettingsStore::mintRows[0], 2);
  EXPECT_EQ(SettingsStore::mintRows[1], 0);
  EXPECT_EQ(SettingsStore::MoveSide, 0);
  EXPECT_TRUE(SettingsStore::NoUseTimeSignal);
}

TEST(SettingsStore, A16BitKeyOutOfRangeFallsBackToItsDefault) {
  MemorySettingsStore store;
  store.Values[{"Kelvora", "Settings", "MoveSide"}] = "40000";
  store.Values[{"Kelvora", "Settings", "UpperRow"}] = "-1e9";
  SettingsStore::LoadSettings();
  EXPECT_EQ(SettingsStore::MoveSide, 3);
  EXPECT_EQ(SettingsStore::mintRows[0], 1);
}

TEST(SettingsStore, NumbersTheProgramCannotUseReadAsTheKeysDefault) {
  MemorySettingsStore store;
  auto put = [&](const std::string& key, const std::string& value) { store.Values[{"Kelvora", "Settings", key}] = value; };
  const platform::OleColor buttonText = platform::SystemColor(platform::COLOR_BTNTEXT);
  put("FontWeight", "2e8");
  put("FontColor", "1e10");
  EXPECT_EQ(SettingsStore::ReadInt16Setting("FontWeight", 400), 400);
  EXPECT_EQ(SettingsStore::ReadColorSetting("FontColor", buttonText), buttonText);
  put("FontWeight", "-32769");
  put("FontColor", "-2147483649");
  EXPECT_EQ(SettingsStore::ReadInt16Setting("FontWeight", 400), 400);
  EXPECT_EQ(SettingsStore::ReadColorSetting("FontColor", buttonText), buttonText);
  // The whole ranges stay usable, system colours included.
  put("FontWeight", "-32768");
  put("FontColor", "-2147483648");
  EXPECT_EQ(SettingsStore::ReadInt16Setting("FontWeight", 400), -32768);
  EXPECT_EQ(SettingsStore::ReadColorSetting("FontColor", buttonText), 0x80000000u);
  put("FontColor", "16711680");
  EXPECT_EQ(SettingsStore::ReadColorSetting("FontColor", buttonText), platform::RGB(0, 0, 255));
  // Absent keys and text that is not a number keep the decoding of the other keys.
  EXPECT_EQ(SettingsStore::ReadColorSetting("Missing", buttonText), buttonText);
  put("FontColor", "red");
  EXPECT_EQ(SettingsStore::ReadColorSetting("FontColor", buttonText), 0u);
}

TEST(SettingsStore, AStoredFormatThatCannotBeAppliedFallsBackToItsRowsDefaultAndSaysSoOnce) {
  MemorySettingsStore store;
  platform::FakeClock time;
  auto put = [&](const std::string& key, const std::string& value) { store.Values[{"Kelvora", "Settings", key}] = value; };
  {
    platform::RecordingMessageBox box;
    put("UnderRowFormat", "\"");  // an unclosed quote
    put("UpperRowFormat", "yyyy");
    SettingsStore::LoadSettings();
    EXPECT_EQ(SettingsStore::UnderRowFormat, "HH:MM:SS");
    EXPECT_EQ(SettingsStore::UpperRowFormat, "yyyy");
    ASSERT_EQ(box.Calls.size(), 1u);
    EXPECT_EQ(box.Calls[0].Prompt, "１段目の書式 \"\"\" は使えないため、既定の書式 \"HH:MM:SS\" に戻しました。");
    EXPECT_EQ(box.Calls[0].Title, "Kelvora");
    EXPECT_EQ(box.Calls[0].Style, platform::vbInformation | platform::vbOKOnly);
  }
  {
    platform::RecordingMessageBox box;
    put("UpperRowFormat", "yyyy\\");  // a trailing backslash
    SettingsStore::LoadSettings();
    EXPECT_EQ(SettingsStore::UpperRowFormat, "AAAA MM/DD");
    ASSERT_EQ(box.Calls.size(), 1u);  // both rows in one message
    EXPECT_NE(box.Calls[0].Prompt.find("１段目"), std::string::npos);
    EXPECT_NE(box.Calls[0].Prompt.find("\n２段目の書式 \"yyyy\\\" "), std::string::npos);
  }
  {
    platform::RecordingMessageBox box;
    put("UnderRowFormat", "h:m:s");
    put("UpperRowFormat", "");
    SettingsStore::LoadSettings();
    EXPECT_EQ(SettingsStore::UnderRowFormat, "h:m:s");
    EXPECT_EQ(SettingsStore::UpperRowFormat, "");
    EXPECT_TRUE(box.Calls.empty());
  }
}

TEST(SettingsStore, SaveWritesFontThenCopiesInOrderAsNumbersAndBooleans) {
  MemorySettingsStore store;
  SetEveryCopyAwayFromDefault();
  platform::StdFont font;
  font.Name = "IPAPGothic";
  font.Weight = 700;
  font.Bold = true;
  SettingsStore::SaveSettings(font, platform::SystemColor(platform::COLOR_BTNTEXT));
  const std::vector<std::string> order = {"FontName",  "FontWeight", "FontBold",       "FontItalic",     "FontStrikethrough",
                                          "FontUnderline", "FontColor", "MoveSide",     "UpperRow",       "UnderRow",
                                          "UpperRowFormat", "UnderRowFormat", "TopMost", "TimeSignalRepeat", "NoUseTimeSignal",
                                          "UsePCBuzzer", "WavFile", "NoTestDllReg",
                                          // the time signal's working-day options follow
                                          "QuietHours", "QuietFrom", "QuietTo", "ChosenDaysOnly", "SignalDays",
                                          "NoHolidaySignal", "DoNotDisturb", "HalfHourSignal", "HalfHourMML",
                                          "SignalVolume"};
  EXPECT_EQ(store.WrittenKeys, order);
  auto get = [&](const std::string& key) { return store.Values[{"Kelvora", "Settings", key}]; };
  EXPECT_EQ(get("FontColor"), "-2147483630");
  EXPECT_EQ(get("FontBold"), "-1");
  EXPECT_EQ(get("FontItalic"), "0");
  EXPECT_EQ(get("UpperRow"), "0");
}

TEST(SettingsStore, SaveThenLoadRoundTripsThroughTheFileJapaneseIncluded) {
  const fs::path home = fs::path(std::getenv("XDG_CONFIG_HOME")) / "roundtrip";
  fs::remove_all(home);
  {
    platform::qt::IniSettingsStore file(home.string());
    platform::ScopedService<platform::ISettingsStore> install(file);
    SetEveryCopyAwayFromDefault();
    SettingsStore::WavFile = "/home/利用者/時報 =\\ 1.wav\nsecond line";
    SettingsStore::SaveSettings(platform::StdFont{}, platform::RGB(1, 2, 3));
  }
  SettingsStore::MoveSide = 3;
  SettingsStore::mintRows = {1, 1};
  SettingsStore::UpperRowFormat = SettingsStore::UnderRowFormat = SettingsStore::WavFile = "";
  SettingsStore::TopMost = SettingsStore::TimeSignalRepeat = SettingsStore::NoUseTimeSignal = false;
  SettingsStore::UsePCBuzzer = SettingsStore::NoTestDllReg = false;

  platform::qt::IniSettingsStore reread(home.string());
  platform::ScopedService<platform::ISettingsStore> install(reread);
  SettingsStore::LoadSettings();
  EXPECT_EQ(SettingsStore::MoveSide, 1);
  EXPECT_EQ(SettingsStore::mintRows[0], 0);
  EXPECT_EQ(SettingsStore::mintRows[1], 1);
  EXPECT_EQ(SettingsStore::UpperRowFormat, "GGG ee年MM月DD日 AAAA");
  EXPECT_EQ(SettingsStore::UnderRowFormat, "AMPM hh時mm分ss秒");
  EXPECT_TRUE(SettingsStore::TopMost);
  EXPECT_TRUE(SettingsStore::TimeSignalRepeat);
  EXPECT_TRUE(SettingsStore::NoUseTimeSignal);
  EXPECT_TRUE(SettingsStore::UsePCBuzzer);
  EXPECT_EQ(SettingsStore::WavFile, "/home/利用者/時報 =\\ 1.wav\nsecond line");
  EXPECT_TRUE(SettingsStore::NoTestDllReg);
  EXPECT_EQ(SettingsStore::GetAppSetting("FontName"), platform::StdFont{}.Name);
  EXPECT_EQ(SettingsStore::GetAppSetting("FontColor"), std::to_string(0x030201));
}

}  // namespace
