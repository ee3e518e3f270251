#pragma once
// The program's command line, beside its start without arguments (which
// behaves as it always did): --help, --version, --quit, --settings.
#include <memory>
#include <string>
#include <vector>

class Program;

namespace platform {
class ITimer;
}  // namespace platform

namespace basCommandLine {

enum class Action {
  Start,     // no argument: the clock starts (or restores the running copy)
  Settings,  // open the running copy's settings dialog, or start and open it
  Quit,      // end the running copy and wait until it has saved and ended
  Version,   // the program's and Quillet's versions
  Help,      // how to call the program
  Usage,     // an argument the program does not know
};

struct Command {
  Action What = Action::Start;
  std::string Unknown;  // the argument that was not understood
};

Command Parse(const std::vector<std::string>& arguments);

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Carries out a command that needs no windows (Help, Version, Quit, Usage):
// writes to the given streams and returns the exit code.
int RunWithoutWindows(const Command& command, std::string& out, std::string& err);

// For a program that starts: a later copy's request to open the settings
// opens them here; with Settings, they open once the clock is up (by the
// timer returned, which the caller keeps for the run).
std::unique_ptr<platform::ITimer> PrepareStart(Program& program, const Command& command);

}  // namespace basCommandLine
