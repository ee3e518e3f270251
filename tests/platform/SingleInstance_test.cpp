// One running copy per user, checked with real processes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/PlatformChoice.h"
#include "tools/ChildProcess.h"

namespace {

using process::ChildProcess;

// Starts the probe with its own runtime folder; its output comes through a
// pipe. extraEnv replaces variables of the same name; its output and errors
// come through one pipe.
ChildProcess StartCopy(const std::string& runtimeDir, std::vector<std::string> args,
                       const std::vector<std::string>& extraEnv = {}) {
  std::vector<std::string> changes = {"XDG_RUNTIME_DIR=" + runtimeDir};
  changes.insert(changes.end(), extraEnv.begin(), extraEnv.end());
  args.insert(args.begin(), KV_SINGLE_INSTANCE_PROBE);
  process::Output output = process::Output::ToPipe();
  if (!extraEnv.empty()) output.AndErrors();
  return ChildProcess(args, process::EnvironmentWith(changes), output);
}

// Waits for the copy to end; its whole output.
std::string Finish(ChildProcess& copy) {
  const std::string out = copy.ReadAll();
  EXPECT_EQ(copy.Wait(), 0) << out;
  return out;
}

std::string FreshRuntimeDir(const char* name) {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  std::filesystem::path dir = std::filesystem::path(tmp ? tmp : "/tmp") / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  return dir.string();
}

// Runs a program as another user (root only); its exit code.
int RunAs(uid_t uid, std::vector<std::string> args) {
  const std::string id = std::to_string(uid);
  args.insert(args.begin(), {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
  ChildProcess child(args, process::EnvironmentWith({}), process::Output::Discarded());
  return child.Wait();
}

}  // namespace

TEST(SingleInstance, OfCopiesStartedTogetherExactlyOneRuns) {
  const std::string dir = FreshRuntimeDir("together");
  std::vector<ChildProcess> copies;
  for (int i = 0; i < 6; ++i) copies.push_back(StartCopy(dir, {"1500"}));
  int first = 0, second = 0;
  for (auto& copy : copies) {
    const std::string out = Finish(copy);
    first += out.find("first") != std::string::npos;
    second += out.find("second") != std::string::npos;
  }
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 5);

  // The claim ends with the copy that held it, even when a socket file stays.
  ChildProcess next = StartCopy(dir, {"10"});
  EXPECT_NE(Finish(next).find("first"), std::string::npos);
}

TEST(SingleInstance, ALaterCopyRestoresTheFirstCopysMinimisedWindowAndEnds) {
  const std::string dir = FreshRuntimeDir("restore");
  ChildProcess first = StartCopy(dir, {"2500", "minimised"});
  ASSERT_EQ(first.ReadLine(), "first");
  ChildProcess later = StartCopy(dir, {"10"});
  EXPECT_EQ(Finish(later), "second\n");
  EXPECT_NE(Finish(first).find("restored"), std::string::npos);
}

TEST(SingleInstance, ALeftoverSocketFileAndASilentConnectionDoNotStopTheRestore) {
  const std::string dir = FreshRuntimeDir("leftover");
  const std::string socketPath = dir + "/KelvoraProbe.socket";
  std::ofstream(socketPath) << "left by a crash";
  ChildProcess first = StartCopy(dir, {"2500", "minimised"});
  ASSERT_EQ(first.ReadLine(), "first");

  // Someone connects and says nothing: the first copy does not wait for it.
  const int silent = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::connect(silent, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

  ChildProcess later = StartCopy(dir, {"10"});
  EXPECT_EQ(Finish(later), "second\n");
  EXPECT_NE(Finish(first).find("restored"), std::string::npos);
  ::close(silent);
  EXPECT_FALSE(std::filesystem::exists(socketPath)) << "the socket file goes with the copy that listened";
}

TEST(SingleInstance, FoldersOfAnotherUserNeverStopTheStartTheCopyRunsWithoutTheCheckAndSaysSo) {
  namespace fs = std::filesystem;
  if (::geteuid() != 0 || (!fs::exists("/usr/bin/setpriv") && !fs::exists("/bin/setpriv"))) {
    GTEST_SKIP() << "needs root and setpriv to act as another user";
  }
  constexpr uid_t kOther = 4242;
  const fs::path base = FreshRuntimeDir("other-user");
  fs::permissions(base, fs::perms::all);
  const fs::path tmp = base / "tmp";
  fs::create_directory(tmp);
  fs::permissions(tmp, fs::perms::all | fs::perms::sticky_bit);
  // The other user prepares both the runtime folder and the fallback under
  // the temporary folder, open to all, each with a lock file it holds.
  const fs::path runtime = base / "runtime";
  const fs::path fallback = tmp / ("kelvoraprobe-" + std::to_string(::geteuid()));
  std::vector<int> held;
  for (const fs::path& dir : {runtime, fallback}) {
    ASSERT_EQ(RunAs(kOther, {"mkdir", "-m", "0777", dir.string()}), 0);
    const std::string lock = (dir / "KelvoraProbe.lock").string();
    ASSERT_EQ(RunAs(kOther, {"touch", lock}), 0);
    ASSERT_EQ(RunAs(kOther, {"chmod", "0666", lock}), 0);
    const int fd = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    held.push_back(fd);
  }

  ChildProcess copy = StartCopy(runtime.string(), {"10"}, {"TMPDIR=" + tmp.string()});
  const std::string out = Finish(copy);
  EXPECT_NE(out.find("first"), std::string::npos) << out;
  EXPECT_NE(out.find("二重起動を確かめずに動きます"), std::string::npos) << out;

  // Without the other user's fallback the copy makes its own, private one.
  fs::remove_all(fallback);
  ChildProcess own = StartCopy(runtime.string(), {"10"}, {"TMPDIR=" + tmp.string()});
  const std::string ownOut = Finish(own);
  EXPECT_NE(ownOut.find("first\n"), std::string::npos) << ownOut;
  EXPECT_EQ(ownOut.find("二重起動を確かめずに動きます"), std::string::npos) << ownOut;
  struct stat info {};
  ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(info.st_uid, ::geteuid());
  for (int fd : held) ::close(fd);
}

TEST(PlatformChoice, XWaylandIsChosenOnlyOnAWaylandSessionWithAnXDisplayAndNoChoiceOfTheUser) {
  struct Case {
    const char* qpa;
    const char* wayland;
    const char* session;
    const char* display;
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, "wayland-0", nullptr, ":0", "xcb"},
      {nullptr, nullptr, "wayland", ":0", "xcb"},
      {nullptr, "wayland-0", "wayland", ":1", "xcb"},
      {"", "wayland-0", nullptr, ":0", "xcb"},         // set but empty: no choice
      {"wayland", "wayland-0", nullptr, ":0", ""},     // the user's choice wins
      {"offscreen", nullptr, nullptr, ":0", ""},
      {nullptr, "wayland-0", nullptr, nullptr, ""},    // pure Wayland
      {nullptr, "wayland-0", nullptr, "", ""},
      {nullptr, nullptr, "x11", ":0", ""},             // X11 session
      {nullptr, "", "tty", ":0", ""},
      {nullptr, nullptr, nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    auto env = [&c](const char* name) -> const char* {
      const std::string n = name;
      if (n == "QT_QPA_PLATFORM") return c.qpa;
      if (n == "WAYLAND_DISPLAY") return c.wayland;
      if (n == "XDG_SESSION_TYPE") return c.session;
      if (n == "DISPLAY") return c.display;
      return nullptr;
    };
    EXPECT_EQ(platform::ChooseWindowingPlatform(env), c.expected)
        << (c.qpa ? c.qpa : "-") << " " << (c.wayland ? c.wayland : "-") << " " << (c.session ? c.session : "-")
        << " " << (c.display ? c.display : "-");
  }
}
