// A program that leaks on purpose, from a timer handler of its own while the
// platform's message loop runs: the sanitizer build's test run expects
// LeakSanitizer to report it. A leak check that stays silent here (a
// suppression that matches any frame of Qt's event loop, reports switched
// off) would stay silent about the program's own leaks too.
#include <cstring>

#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/Timer.h"
#include "support/TestFolders.h"

namespace {

// Keeps the compiler from dropping the allocation; cleared at once.
char* volatile gLast = nullptr;

__attribute__((noinline)) void LeakCanaryLosesABlock() {
  char* block = new char[4096];
  std::memset(block, 0x5a, 4096);
  gLast = block;
  gLast = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  kvtest::UseTestFolders();
  platform::Application app(argc, argv, "KelvoraLeakCanary");
  auto timer = platform::Controls().CreateTimer();
  timer->Timer = [&app, &timer] {
    timer->SetEnabled(false);
    LeakCanaryLosesABlock();
    app.Quit();
  };
  timer->SetInterval(1);
  timer->SetEnabled(true);
  app.Run();
  return 0;
}
