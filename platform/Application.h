#pragma once
// The running application: starts the platform, installs its services and
// runs the message loop.
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class Application {
 public:
  // title: the application title (message boxes, settings store).
  Application(int& argc, char** argv, const std::string& title);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static const std::string& Title();
  // Runs the message loop until Quit or the last window closes.
  int Run();
  void Quit();
  // Handles pending events (the language's DoEvents).
  static void DoEvents();

  // Called once when the program is told to end from outside its windows
  // (the session ends, or SIGTERM, SIGHUP or SIGINT arrives), before the
  // message loop stops: the place to save what must survive.
  void SetShutdownHandler(std::function<void()> handler);

  // Shows a run-time error that no handler caught (the program installs its
  // ReportError). Returns the reporter it replaces.
  using ErrorReporter = std::function<void(const std::exception&)>;
  static ErrorReporter SetErrorReporter(ErrorReporter reporter);
  // Runs one handler or start step: a run-time error escaping it goes to the
  // error reporter instead of ending the program. False when one escaped.
  // Every event the platform delivers runs under this guard.
  static bool Guard(const std::function<void()>& step);

 private:
  struct Impl;
  std::unique_ptr<Impl> mImpl;
};

}  // namespace platform
