#include "tools/PrivateSoundServer.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace audio {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using process::ChildProcess;
using process::Output;

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
  ChildProcess client(argv, Environment(mRoot), out.empty() ? Output::Discarded() : Output::ToFile(out));
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
