#pragma once
// A child process for tests, tools and benchmarks: started from an argument
// vector (never through a shell) with an environment of its own, waited for
// with a time limit, ended by a signal; killed when its owner goes away.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace process {

// Where the child's standard output goes: nowhere (/dev/null), a file
// (emptied first, or appended to), or a pipe the parent reads. Its standard
// error stays the parent's unless it is to go with the output or to a file
// of its own (emptied first).
struct Output {
  enum class To { Nothing, File, Pipe };
  To Target = To::Nothing;
  std::filesystem::path File;
  bool Append = false;
  bool WithErrors = false;
  std::filesystem::path ErrorFile;

  static Output Discarded() { return {}; }
  static Output ToFile(const std::filesystem::path& file, bool append = false) {
    return {To::File, file, append, false, {}};
  }
  static Output ToPipe() { return {To::Pipe, {}, false, false, {}}; }
  Output& AndErrors() {
    WithErrors = true;
    return *this;
  }
  Output& ErrorsTo(const std::filesystem::path& file) {
    ErrorFile = file;
    return *this;
  }
};

class ChildProcess {
 public:
  ChildProcess() = default;
  // argv[0] is looked up on PATH when it names no folder; env is the
  // child's whole environment.
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, Output output = {});
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // kills a child still running

  // A child that has ended and been waited for is no longer started.
  bool Started() const { return mPid > 0; }
  pid_t Pid() const { return mPid; }
  bool Running();
  // The exit code (128 + signal when a signal ended it); −1 when the child
  // is still running after the time (or was never started).
  int Wait(std::chrono::milliseconds limit);
  int Wait();
  // SIGTERM, then Wait(limit).
  int Terminate(std::chrono::milliseconds limit);
  // SIGKILL, then Wait().
  int Kill();

  // With Output::ToPipe(): the next line of the output (without its end;
  // empty at the end of the output), and all the rest of it.
  std::string ReadLine();
  std::string ReadAll();

 private:
  // Takes the child's end when it has ended (waiting for it when asked).
  bool Reap(bool block);

  pid_t mPid = -1;
  int mOut = -1;
  int mExitCode = -1;
};

// This process's environment, each of `changes` ("NAME=value") replacing
// the variable of that name.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes);

}  // namespace process
