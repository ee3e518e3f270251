// A copy of a program that claims to be the only one running.
//   probe STAY_MS [minimised]
// Prints "second" and ends at once when another copy runs. Otherwise prints
// "first", stays STAY_MS milliseconds (with a minimised window if asked) and
// prints "restored" when its window was restored meanwhile.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Application.h"
#include "platform/Services.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "KelvoraProbe");
  if (app.PrevInstance()) {
    std::puts("second");
    return 0;
  }
  std::puts("first");
  std::fflush(stdout);

  const int stayMs = argc > 1 ? std::atoi(argv[1]) : 1000;
  const bool minimised = argc > 2 && std::strcmp(argv[2], "minimised") == 0;
  std::unique_ptr<platform::IForm> form;
  if (minimised) {
    form = platform::Controls().CreateForm({});
    form->Show();
    form->SetWindowState(platform::vbMinimized);
  }
  auto timer = platform::Controls().CreateTimer();
  timer->Timer = [&app] { app.Quit(); };
  timer->SetInterval(stayMs);
  timer->SetEnabled(true);
  app.Run();
  if (form && form->WindowState() != platform::vbMinimized) std::puts("restored");
  return 0;
}
