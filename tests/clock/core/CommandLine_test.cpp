// The command line, with the real program: answers without a display, and
// requests to a running copy through its single-instance socket.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "clock/core/ProgramVersion.h"
#include "tools/ChildProcess.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class CommandLineTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    mHome = fs::path(tmp ? tmp : "/tmp") / "command-line";
    fs::remove_all(mHome);
    for (const char* dir : {"config/Kelvora", "data", "runtime"}) fs::create_directories(mHome / dir);
    fs::permissions(mHome / "runtime", fs::perms::owner_all);
    // No component questions: a modal question would wait for ever here.
    std::ofstream(mHome / "config/Kelvora/Kelvora.ini") << "[Settings]\nNoTestDllReg=-1\nMoveSide=2\n";
  }

  // Starts a program with the test's own folders; stdout and stderr go to
  // files named after tag. display: whether it gets the offscreen platform.
  process::ChildProcess Spawn(const std::string& program, std::vector<std::string> args, const std::string& tag,
                              bool display = true) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("XDG_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("DISPLAY=", 0) != 0 &&
          entry.rfind("WAYLAND_DISPLAY=", 0) != 0 && entry.rfind("HOME=", 0) != 0) {
        env.push_back(entry);
      }
    }
    env.push_back("HOME=" + mHome.string());
    env.push_back("XDG_CONFIG_HOME=" + (mHome / "config").string());
    env.push_back("XDG_DATA_HOME=" + (mHome / "data").string());
    env.push_back("XDG_DATA_DIRS=" + (mHome / "nothing").string());
    env.push_back("XDG_RUNTIME_DIR=" + (mHome / "runtime").string());
    if (display) env.push_back("QT_QPA_PLATFORM=offscreen");
    args.insert(args.begin(), program);
    return process::ChildProcess(
        args, env, process::Output::ToFile(mHome / (tag + ".out")).ErrorsTo(mHome / (tag + ".err")));
  }

  struct Result {
    int Code;
    std::string Out, Err;
  };
  Result Run(std::vector<std::string> args, bool display = true) {
    process::ChildProcess run = Spawn(KV_KELVORA_PROGRAM, std::move(args), "run", display);
    const int code = run.Wait(40s);
    return {code, ReadText(mHome / "run.out"), ReadText(mHome / "run.err")};
  }

  process::ChildProcess StartClock() {
    process::ChildProcess clock = Spawn(KV_KELVORA_PROGRAM, {}, "clock");
    for (int i = 0; i < 500 && !fs::exists(SocketPath()); ++i) std::this_thread::sleep_for(20ms);
    return clock;
  }

  fs::path SocketPath() const { return mHome / "runtime/Kelvora.socket"; }
  std::string Settings() const { return ReadText(mHome / "config/Kelvora/Kelvora.ini"); }

  fs::path mHome;
};

TEST_F(CommandLineTest, HelpVersionUnknownOptionsAndQuitWithNoCopyAnswerWithoutADisplay) {
  Result help = Run({"--help"}, false);
  EXPECT_EQ(help.Code, 0);
  for (const char* option : {"--settings", "--quit", "--version", "--help"}) {
    EXPECT_NE(help.Out.find(option), std::string::npos) << option;
  }

  // The version of the program and that of the Quillet registered for the user.
  process::ChildProcess reg = Spawn(KV_KVREGSVR_PROGRAM, {KV_QUILLET_MODULE}, "kvregsvr");
  ASSERT_EQ(reg.Wait(20s), 0) << ReadText(mHome / "kvregsvr.err");
  Result version = Run({"--version"}, false);
  EXPECT_EQ(version.Code, 0);
  const std::string program = "Kelvora " + std::to_string(ProgramVersion::Major) + "." +
                              std::to_string(ProgramVersion::Minor) + "." + std::to_string(ProgramVersion::Revision) +
                              "\n";
  EXPECT_EQ(version.Out.rfind(program, 0), 0u) << version.Out;
  EXPECT_NE(version.Out.find("Quillet 1.0.23 ("), std::string::npos) << version.Out;

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--nonsense"}, {"-platform", "offscreen"}, {"--quit", "--settings"}}) {
    Result bad = Run(args, false);
    EXPECT_EQ(bad.Code, 2) << args[0];
    EXPECT_TRUE(bad.Out.empty());
    EXPECT_NE(bad.Err.find("使い方: Kelvora"), std::string::npos) << bad.Err;
  }

  Result none = Run({"--quit"}, false);
  EXPECT_EQ(none.Code, 1);
  EXPECT_NE(none.Err.find("動いている Kelvora はありません"), std::string::npos) << none.Err;
}

TEST_F(CommandLineTest, SettingsReachesTheRunningCopyAndQuitEndsItWithItsSettingsSaved) {
  process::ChildProcess clock = StartClock();
  ASSERT_TRUE(fs::exists(SocketPath()));

  Result settings = Run({"--settings"});
  EXPECT_EQ(settings.Code, 0) << settings.Err;
  EXPECT_TRUE(clock.Running()) << "the running copy goes on";

  Result quit = Run({"--quit"}, false);
  EXPECT_EQ(quit.Code, 0) << quit.Err;
  // --quit returns once the copy has let go of its lock, after saving.
  EXPECT_EQ(clock.Wait(2s), 0);
  EXPECT_NE(Settings().find("MainLeft="), std::string::npos) << Settings();
  EXPECT_NE(Settings().find("MoveSide=2\n"), std::string::npos) << Settings();
}

TEST_F(CommandLineTest, TwoThousandSilentConnectionsLeaveTheClockIdleAndAnsweringAndSigtermSaves) {
  // Few descriptors: a program that kept every connection would run out.
  rlimit old{};
  ::getrlimit(RLIMIT_NOFILE, &old);
  rlimit tight = old;
  tight.rlim_cur = 96;
  ::setrlimit(RLIMIT_NOFILE, &tight);
  process::ChildProcess clock = StartClock();
  ::setrlimit(RLIMIT_NOFILE, &old);
  ASSERT_TRUE(fs::exists(SocketPath()));

  const auto cpuSeconds = [pid = clock.Pid()] {
    std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 0; i < 13 && fields >> field; ++i) {
      if (i >= 11) ticks += std::stol(field);  // utime, stime
    }
    return static_cast<double>(ticks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
  };
  const double cpuBefore = cpuSeconds();

  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, SocketPath().c_str(), sizeof address.sun_path - 1);
  std::vector<int> silent;
  for (int i = 0; i < 2000; ++i) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) break;
    // A full queue answers EAGAIN: wait for the clock to take the next.
    for (int tries = 0; tries < 200; ++tries) {
      if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
      if (errno != EAGAIN) break;
      std::this_thread::sleep_for(1ms);
    }
    silent.push_back(fd);
  }
  std::this_thread::sleep_for(1s);
  const double cpu = cpuSeconds() - cpuBefore;
  EXPECT_LT(cpu, 1.5) << "the clock spun on its socket";
  const fs::path fds = "/proc/" + std::to_string(clock.Pid()) + "/fd";
  const auto open = std::distance(fs::directory_iterator(fds), fs::directory_iterator());
  EXPECT_LT(open, 60) << "silent clients are dropped";

  // Still answering while the silent ones stay connected.
  Result settings = Run({"--settings"});
  EXPECT_EQ(settings.Code, 0) << settings.Err;

  EXPECT_EQ(clock.Terminate(20s), 0);
  EXPECT_NE(Settings().find("MainLeft="), std::string::npos) << Settings();
  for (int fd : silent) ::close(fd);
}

}  // namespace
