// Kelvora's entry: the command line's answers that need no windows; else
// the platform, the error report for run-time errors no handler catches,
// then the start routine.
#include <cstdio>
#include <string>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/basCommandLine.h"
#include "clock/core/basMain.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Timer.h"

int main(int argc, char** argv) {
  const basCommandLine::Command command = basCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
  using basCommandLine::Action;
  if (command.What != Action::Start && command.What != Action::Settings) {
    std::string out, err;
    const int code = basCommandLine::RunWithoutWindows(command, out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return code;
  }
  platform::Application app(argc, argv, "Kelvora");
  platform::Application::SetErrorReporter([](const std::exception& error) { basGeneral::ReportError(error); });
  if (command.What == Action::Settings && app.PrevInstance(platform::Application::InstanceRequest::OpenSettings)) {
    return basCommandLine::kExitOk;
  }
  Program program(app);
  const auto settingsTimer = basCommandLine::PrepareStart(program, command);
  return basMain::Main(program);
}
