#include "platform/EventLoop.h"

#include "platform/Application.h"

namespace platform {
namespace {
EventLoop gLoop;
}  // namespace

EventLoop InstallEventLoop(EventLoop loop) {
  const EventLoop old = gLoop;
  gLoop = loop;
  return old;
}

void Application::DoEvents() {
  if (gLoop.doEvents) gLoop.doEvents();
}

void Application::RunWhenIdle(std::function<void()> step) {
  if (gLoop.runWhenIdle && step) gLoop.runWhenIdle(std::move(step));
}

}  // namespace platform
