#include "tools/PrivateSoundServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace audio {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                           const fs::path& out) {
  std::vector<std::string> args = argv, vars = env;
  std::vector<char*> a, e;
  for (auto& s : args) a.push_back(s.data());
  a.push_back(nullptr);
  for (auto& s : vars) e.push_back(s.data());
  e.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string target = out.empty() ? std::string("/dev/null") : out.string();
  posix_spawn_file_actions_addopen(&actions, 1, target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (posix_spawnp(&mPid, a[0], &actions, nullptr, a.data(), e.data()) != 0) mPid = -1;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : mPid(std::exchange(other.mPid, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  std::swap(mPid, other.mPid);
  return *this;
}

ChildProcess::~ChildProcess() {
  if (mPid > 0) {
    ::kill(mPid, SIGKILL);
    ::waitpid(mPid, nullptr, 0);
  }
}

bool ChildProcess::Running() const {
  int status = 0;
  return mPid > 0 && ::waitpid(mPid, &status, WNOHANG) == 0;
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (mPid > 0) {
    int status = 0;
    if (::waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(10ms);
  }
  return -1;
}

int ChildProcess::Terminate(std::chrono::milliseconds limit) {
  if (mPid > 0) ::kill(mPid, SIGTERM);
  return Wait(limit);
}

fs::path MakeHome(const fs::path& home) {
  fs::remove_all(home);
  for (const char* dir : {"config/Kelvora", "data", "runtime"}) fs::create_directories(home / dir);
  fs::permissions(home / "runtime", fs::perms::owner_all);
  return home;
}

std::vector<std::string> PrivateEnvironment(const fs::path& home) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool keep = true;
    for (const char* prefix : {"XDG_", "HOME=", "PULSE_", "QT_QPA_PLATFORM=", "ASAN_OPTIONS=", "FAKETIME"}) {
      if (entry.rfind(prefix, 0) == 0) keep = false;
    }
    if (keep) env.push_back(entry);
  }
  env.push_back("HOME=" + home.string());
  env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
  env.push_back("XDG_DATA_HOME=" + (home / "data").string());
  env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
  // A preloaded library (libfaketime) comes before the sanitizer's runtime.
  env.push_back("ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0");
  return env;
}

bool PrivateSoundServer::Start(const fs::path& root, int sinks) {
  mRoot = MakeHome(root);
  {
    std::ofstream config(mRoot / "server.pa");
    config << "load-module module-native-protocol-unix\n";
    for (int i = 0; i < sinks; ++i) {
      config << "load-module module-null-sink sink_name=" << Sink(i) << " rate=48000 channels=1\n";
    }
  }
  mServer = ChildProcess({"pulseaudio", "-n", "-F", (mRoot / "server.pa").string(), "--daemonize=no",
                          "--exit-idle-time=-1", "--use-pid-file=no", "--log-target=stderr", "--log-level=error"},
                         Environment(mRoot));
  if (!mServer.Started()) return false;
  for (int i = 0; i < 500 && mServer.Running(); ++i) {
    if (fs::exists(Socket()) && Run({"pactl", "info"}) == 0) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

void PrivateSoundServer::Stop() {
  if (mServer.Started()) mServer.Terminate(5s);
}

std::vector<std::string> PrivateSoundServer::Environment(const fs::path& home) const {
  auto env = PrivateEnvironment(home);
  env.push_back("PULSE_SERVER=unix:" + Socket().string());
  env.push_back("PULSE_COOKIE=" + (mRoot / "cookie").string());
  return env;
}

int PrivateSoundServer::Run(const std::vector<std::string>& argv, const fs::path& out) const {
  ChildProcess client(argv, Environment(mRoot), out);
  return client.Wait(10s);
}

std::string PrivateSoundServer::SinkIndex(int sink) const {
  const fs::path out = mRoot / ("sinks-" + std::to_string(::getpid()) + "-" + std::to_string(sink));
  Run({"pactl", "list", "short", "sinks"}, out);
  std::ifstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string index, name;
    fields >> index >> name;
    if (name == Sink(sink)) return index;
  }
  return "?";
}

int PrivateSoundServer::StreamsOn(int sink) const {
  const std::string id = SinkIndex(sink);
  const fs::path out = mRoot / ("inputs-" + std::to_string(sink));
  if (Run({"pactl", "list", "short", "sink-inputs"}, out) != 0) return -1;
  std::ifstream in(out);
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string input, sinkIndex;
    fields >> input >> sinkIndex;
    if (sinkIndex == id) ++count;
  }
  return count;
}

}  // namespace audio
