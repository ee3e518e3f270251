#pragma once
// The running application: starts the platform, installs its services and
// runs the message loop.
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

 private:
  struct Impl;
  std::unique_ptr<Impl> mImpl;
};

}  // namespace platform
