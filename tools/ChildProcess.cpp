#include "tools/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

extern char** environ;

namespace process {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, Output output) {
  if (argv.empty()) return;
  std::vector<std::string> args = argv, vars = env;
  std::vector<char*> a, e;
  for (auto& s : args) a.push_back(s.data());
  a.push_back(nullptr);
  for (auto& s : vars) e.push_back(s.data());
  e.push_back(nullptr);

  // The parent's ends are closed on exec, so that a child started by
  // another thread meanwhile does not hold this pipe open.
  int pipeFds[2] = {-1, -1};
  if (output.Target == Output::To::Pipe && ::pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string file = output.Target == Output::To::File ? output.File.string() : std::string("/dev/null");
  if (output.Target == Output::To::Pipe) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, file.c_str(),
                                     O_WRONLY | O_CREAT | (output.Append ? O_APPEND : O_TRUNC), 0600);
  }
  const std::string errors = output.ErrorFile.string();
  if (output.WithErrors) {
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  } else if (!errors.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  if (posix_spawnp(&mPid, a[0], &actions, nullptr, a.data(), e.data()) != 0) mPid = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (pipeFds[1] >= 0) ::close(pipeFds[1]);
  if (mPid > 0) {
    mOut = pipeFds[0];
  } else if (pipeFds[0] >= 0) {
    ::close(pipeFds[0]);
  }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : mPid(std::exchange(other.mPid, -1)), mOut(std::exchange(other.mOut, -1)), mExitCode(other.mExitCode) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  std::swap(mPid, other.mPid);
  std::swap(mOut, other.mOut);
  std::swap(mExitCode, other.mExitCode);
  return *this;
}

ChildProcess::~ChildProcess() {
  if (mPid > 0) Kill();
  if (mOut >= 0) ::close(mOut);
}

bool ChildProcess::Reap(bool block) {
  if (mPid <= 0) return true;
  int status = 0;
  pid_t got;
  do {
    got = ::waitpid(mPid, &status, block ? 0 : WNOHANG);
  } while (got < 0 && errno == EINTR);
  if (got == 0) return false;
  mExitCode = got == mPid ? (WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)) : -1;
  mPid = -1;
  return true;
}

bool ChildProcess::Running() { return mPid > 0 && !Reap(false); }

int ChildProcess::Wait(std::chrono::milliseconds limit) {
  if (mPid <= 0) return -1;
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!Reap(false)) {
    if (std::chrono::steady_clock::now() >= end) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return mExitCode;
}

int ChildProcess::Wait() {
  if (mPid <= 0) return -1;
  Reap(true);
  return mExitCode;
}

int ChildProcess::Terminate(std::chrono::milliseconds limit) {
  if (mPid > 0) ::kill(mPid, SIGTERM);
  return Wait(limit);
}

int ChildProcess::Kill() {
  if (mPid > 0) ::kill(mPid, SIGKILL);
  return Wait();
}

std::string ChildProcess::ReadLine() {
  std::string line;
  char c;
  while (mOut >= 0 && ::read(mOut, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

std::string ChildProcess::ReadAll() {
  std::string out;
  char buffer[4096];
  ssize_t n;
  while (mOut >= 0 && ((n = ::read(mOut, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))) {
    if (n > 0) out.append(buffer, static_cast<size_t>(n));
  }
  return out;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& change : changes) {
      replaced |= entry.compare(0, change.find('=') + 1, change, 0, change.find('=') + 1) == 0;
    }
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), changes.begin(), changes.end());
  return env;
}

}  // namespace process
