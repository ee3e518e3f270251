#pragma once
// A sound server of one's own for tests and benchmarks: PulseAudio with
// null sinks in a private runtime folder, and the environment of the
// programs that use it.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/ChildProcess.h"

namespace audio {

// A folder with config/, data/ and runtime/ (private) for one process.
std::filesystem::path MakeHome(const std::filesystem::path& home);
// This process's environment with HOME and the XDG folders set to home,
// without the user's sound server, platform and sanitizer settings.
std::vector<std::string> PrivateEnvironment(const std::filesystem::path& home);

class PrivateSoundServer {
 public:
  // Starts PulseAudio with `sinks` null sinks (48 kHz, mono) named
  // Sink(0) …; false when it cannot start here.
  bool Start(const std::filesystem::path& root, int sinks);
  void Stop();
  ~PrivateSoundServer() { Stop(); }

  static std::string Sink(int i) { return "kvnull" + std::to_string(i); }
  std::filesystem::path Socket() const { return mRoot / "runtime/pulse/native"; }
  // PrivateEnvironment(home) plus the way to this server.
  std::vector<std::string> Environment(const std::filesystem::path& home) const;
  // Runs a client of the server (pactl …) to its end; its exit code.
  int Run(const std::vector<std::string>& argv, const std::filesystem::path& out = {}) const;
  // The playback streams on a sink now (−1 when the server cannot say).
  int StreamsOn(int sink) const;

 private:
  std::string SinkIndex(int sink) const;

  std::filesystem::path mRoot;
  process::ChildProcess mServer;
};

}  // namespace audio
