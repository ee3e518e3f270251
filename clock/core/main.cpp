// Kelvora's entry: the platform, the error report for run-time errors no
// handler catches, then the start routine.
#include "clock/core/basMain.h"
#include "common/basGeneral.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, "Kelvora");
  platform::Application::SetErrorReporter([](const std::exception& error) { basGeneral::ReportError(error); });
  return basMain::Main(app);
}
