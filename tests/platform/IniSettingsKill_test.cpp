// A process that writes the settings file through the real store is killed
// (SIGKILL) at random moments, again and again. Every time, the file on
// disk must be a whole version the writer saved, and the next start must
// read it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "platform/qt/IniSettingsStore.h"

namespace {

namespace fs = std::filesystem;
using platform::qt::IniSettingsStore;

constexpr int kKills = 500;

// Version n of the big value: a torn or mixed file cannot match it.
std::string Payload(long n) {
  const std::string mark = "<" + std::to_string(n) + ">";
  std::string text = mark;
  while (text.size() < 48 * 1024) text += static_cast<char>('a' + n % 26);
  return text + mark;
}

// The child: saves version after version until it is killed.
[[noreturn]] void WriteForever(const std::string& home, long first) {
  IniSettingsStore store(home);
  for (long n = first;; ++n) {
    store.BeginBatch();
    store.SaveSetting("Kelvora", "Settings", "Payload", Payload(n));
    store.SaveSetting("Kelvora", "Settings", "Counter", std::to_string(n));
    store.EndBatch();
  }
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SettingsKill, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  const fs::path home = fs::path(std::getenv("XDG_CONFIG_HOME")) / "kill";
  fs::remove_all(home);
  const fs::path file = home / "Kelvora" / "Kelvora.ini";
  std::mt19937 random(20261207);  // fixed: a failure can be replayed
  std::uniform_int_distribution<int> moment(0, 6000);
  long onDisk = -1;  // the version on disk, -1 before the first

  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) WriteForever(home.string(), onDisk + 1);
    // The random moment is the point of the test: the writer runs for it.
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself";

    if (!fs::exists(file)) {
      ASSERT_EQ(onDisk, -1) << "the file vanished after kill " << kill;
      continue;
    }
    std::map<std::string, std::map<std::string, std::string>> doc;
    ASSERT_TRUE(platform::qt::ParseIni(ReadBytes(file), doc)) << "torn file after kill " << kill;
    const long version = std::stol(doc["Settings"]["Counter"]);
    ASSERT_EQ(doc["Settings"]["Payload"], Payload(version)) << "mixed file after kill " << kill;
    ASSERT_GE(version, onDisk) << "an older version came back after kill " << kill;
    onDisk = version;

    // The next start reads it and keeps nothing aside.
    IniSettingsStore next(home.string());
    ASSERT_EQ(next.GetSetting("Kelvora", "Settings", "Counter"), std::to_string(version));
    ASSERT_EQ(next.KeptAsideAs(), "");
  }
  // The kills fell on a writer that was getting somewhere.
  EXPECT_GT(onDisk, 50);
}

}  // namespace
