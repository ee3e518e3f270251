#include "platform/qt/IniSettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/RuntimeError.h"

namespace {

namespace fs = std::filesystem;
using platform::qt::IniSettingsStore;

struct IniSettingsStoreTest : testing::Test {
  void SetUp() override {
    home = fs::path(std::getenv("XDG_CONFIG_HOME")) / testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(home);
    fs::create_directories(home / "App");
  }
  void WriteFile(const std::string& bytes) { std::ofstream(home / "App" / "App.ini", std::ios::binary) << bytes; }
  std::string ReadFile() {
    std::ifstream in(home / "App" / "App.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<fs::path> KeptAside() {
    std::vector<fs::path> kept;
    for (const auto& e : fs::directory_iterator(home / "App"))
      if (e.path().filename().string().find(".broken-") != std::string::npos) kept.push_back(e.path());
    return kept;
  }
  fs::path home;
};

TEST_F(IniSettingsStoreTest, WritesOneSectionedUtf8FileAndReadsItBack) {
  {
    IniSettingsStore store(home.string());
    store.SaveSetting("App", "Settings", "Name", "時計");
    store.SaveSetting("App", "Settings", "Empty", "");
  }
  EXPECT_EQ(ReadFile(), "[Settings]\nEmpty=\nName=時計\n");
  IniSettingsStore store(home.string());
  EXPECT_EQ(store.GetSetting("App", "Settings", "Name"), "時計");
  EXPECT_EQ(store.GetSetting("App", "Settings", "Empty"), "");
  EXPECT_EQ(store.GetSetting("App", "Settings", "Missing"), std::nullopt);
  EXPECT_EQ(store.GetSetting("App", "Other", "Name"), std::nullopt);
  // The atomic write leaves no temporary file behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(home / "App"), fs::directory_iterator()), 1);
}

TEST_F(IniSettingsStoreTest, ABrokenFileReadsAsEmptyAndIsKeptAsideNotOverwritten) {
  for (const std::string& broken : {std::string("[Settings]\nName=時計"),            // cut short: no final line end
                                    std::string("[Settings]\nName=\xff\xfe\n"),      // not UTF-8
                                    std::string("Name=outside any section\n"),       // no section
                                    std::string("[Settings]\njust some words\n")}) {  // no key
    fs::remove_all(home / "App");
    fs::create_directories(home / "App");
    WriteFile(broken);
    IniSettingsStore store(home.string());
    EXPECT_EQ(store.GetSetting("App", "Settings", "Name"), std::nullopt) << broken;
    const auto kept = KeptAside();
    ASSERT_EQ(kept.size(), 1u) << broken;
    std::ifstream in(kept[0], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), broken);
    // Saving now starts a new file; the kept copy stays.
    store.SaveSetting("App", "Settings", "Name", "新");
    EXPECT_EQ(ReadFile(), "[Settings]\nName=新\n");
    EXPECT_EQ(KeptAside().size(), 1u);
  }
}

TEST_F(IniSettingsStoreTest, ParsingAcceptsCommentsBlankLinesAndCarriageReturns) {
  std::map<std::string, std::map<std::string, std::string>> doc;
  ASSERT_TRUE(platform::qt::ParseIni("; note\r\n\r\n[Settings]\r\nA=1\r\nB=x=y\r\n", doc));
  EXPECT_EQ(doc["Settings"]["A"], "1");
  EXPECT_EQ(doc["Settings"]["B"], "x=y");
  EXPECT_FALSE(platform::qt::ParseIni("[Settings]\nA=bad\\q\n", doc));
  EXPECT_TRUE(platform::qt::ParseIni("", doc));
  EXPECT_TRUE(doc.empty());
}

}  // namespace

namespace {

TEST_F(IniSettingsStoreTest, AFileThatCannotBeWrittenRaisesAnAccessErrorAndKeepsTheOldFile) {
  WriteFile("[Settings]\nName=old\n");
  IniSettingsStore store(home.string());
  // A plain file where the application's folder should be makes the write
  // fail, even for root.
  std::ofstream(home / "Blocked") << "not a folder";
  try {
    store.SaveSetting("Blocked", "Settings", "Name", "new");
    FAIL() << "no error";
  } catch (const platform::RuntimeError& e) {
    EXPECT_EQ(e.Number(), platform::errPathFileAccess);
    EXPECT_NE(e.Description().find("Blocked.ini"), std::string::npos);
  }
  EXPECT_EQ(store.GetSetting("App", "Settings", "Name"), "old");
}

}  // namespace

namespace {

TEST_F(IniSettingsStoreTest, ABatchOfSavesReachesTheFileOnceAtItsEnd) {
  IniSettingsStore store(home.string());
  {
    platform::SettingsBatch batch(store);
    store.SaveSetting("App", "Settings", "A", "1");
    store.SaveSetting("App", "Settings", "B", "2");
    EXPECT_FALSE(fs::exists(home / "App" / "App.ini"));
    EXPECT_EQ(store.GetSetting("App", "Settings", "A"), "1");
    batch.Commit();
  }
  EXPECT_EQ(ReadFile(), "[Settings]\nA=1\nB=2\n");
  store.SaveSetting("App", "Settings", "C", "3");  // after the batch: written at once
  EXPECT_EQ(ReadFile(), "[Settings]\nA=1\nB=2\nC=3\n");
}

}  // namespace
