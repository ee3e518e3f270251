// A process that writes the settings file through the real store is killed
// (SIGKILL) at random moments, again and again. Every time, the file on
// disk must be a whole version the writer saved, and the next start must
// read it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// 500 kills where a kill is cheap. Where forking the test is slow (a
// sanitizer build on a loaded machine: half a second a kill), the kills
// after the first 100 stop once 20 s are spent: every kill still falls at a
// random moment of the first two saves, only fewer of them.
constexpr int kMaxKills = 500;
constexpr int kMinKills = 100;
constexpr auto kKillBudget = std::chrono::seconds(20);

// Version n of the big value: a torn or mixed file cannot match it.
std::string Payload(long n) {
  const std::string mark = "<" + std::to_string(n) + ">";
  return mark + std::string(16 * 1024, static_cast<char>('a' + n % 26)) + mark;
}

void Save(IniSettingsStore& store, long n) {
  store.BeginBatch();
  store.SaveSetting("Kelvora", "Settings", "Payload", Payload(n));
  store.SaveSetting("Kelvora", "Settings", "Counter", std::to_string(n));
  store.EndBatch();
}

// The child: says it has started, then saves version after version until
// it is killed.
[[noreturn]] void WriteForever(const std::string& home, long first, int started) {
  IniSettingsStore store(home);
  const char byte = 1;
  [[maybe_unused]] const ssize_t sent = ::write(started, &byte, 1);
  for (long n = first;; ++n) Save(store, n);
}

// How long one save takes on this machine and build, in microseconds.
long SaveMicroseconds(const fs::path& home) {
  IniSettingsStore store(home.string());
  const auto start = std::chrono::steady_clock::now();
  for (long n = 0; n < 8; ++n) Save(store, n);
  const auto spent = std::chrono::steady_clock::now() - start;
  fs::remove_all(home);
  return std::max<long>(1, std::chrono::duration_cast<std::chrono::microseconds>(spent).count() / 8);
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SettingsKill, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  const fs::path home = fs::path(std::getenv("XDG_CONFIG_HOME")) / "kill";
  fs::remove_all(home);
  const fs::path file = home / "Kelvora" / "Kelvora.ini";
  // Kills fall anywhere in the first two saves after the writer starts,
  // whatever a save costs here (a sanitizer build is several times slower).
  std::mt19937 random(20261207);  // fixed: a failure can be replayed
  std::uniform_int_distribution<long> moment(0, 2 * SaveMicroseconds(home));
  long onDisk = -1;  // the version on disk, -1 before the first

  const auto begin = std::chrono::steady_clock::now();
  int kill = 0;
  for (; kill < kMaxKills && (kill < kMinKills || std::chrono::steady_clock::now() - begin < kKillBudget); ++kill) {
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) WriteForever(home.string(), onDisk + 1, started[1]);
    ::close(started[1]);
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(started[0], &byte, 1);
    ::close(started[0]);
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
  // The kills fell on a writer that was getting somewhere (on a loaded
  // machine, and under the sanitizer, most kills land before a save ends).
  EXPECT_GT(onDisk, 0);
  RecordProperty("kills", kill);
}

}  // namespace
