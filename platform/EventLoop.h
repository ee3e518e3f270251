#pragma once
// The running message loop as code outside the backend reaches it
// (Application::DoEvents and Application::RunWhenIdle, used by the
// component runtime and by component modules, which link the platform
// library but not the backend). The backend installs its loop while an
// application runs; without one, DoEvents does nothing and RunWhenIdle
// drops its step.
#include <functional>

namespace platform {

struct EventLoop {
  void (*doEvents)() = nullptr;
  void (*runWhenIdle)(std::function<void()> step) = nullptr;
};

// Installs the loop (an empty one removes it); returns the one it replaces.
EventLoop InstallEventLoop(EventLoop loop);

}  // namespace platform
