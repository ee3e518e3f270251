#include "clock/core/Program.h"

#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/help/frmHTMLHelp.h"
#include "clock/settings/frmSetUp.h"
#include "platform/Application.h"
#include "platform/Timer.h"

Program::Program(platform::Application& app) : mApp(app) {}

Program::~Program() { ReleaseWindows(); }

frmMain& Program::MakeClock() {
  mClock = std::make_unique<frmMain>(*this);
  mClockLoaded = true;
  return *mClock;
}

frmSetUp& Program::MakeSetUp() {
  mSetUp = std::make_unique<frmSetUp>(*this);
  return *mSetUp;
}

frmHTMLHelp& Program::MakeHelpWindow() {
  if (!mHelpWindow) mHelpWindow = std::make_unique<frmHTMLHelp>();
  return *mHelpWindow;
}

void Program::KeepTimer(std::unique_ptr<platform::ITimer> timer) { mTimer = std::move(timer); }

void Program::ReleaseWindows() {
  mTimer.reset();
  basMain::gfncOpenSoundOutput = nullptr;
  mApp.SetShutdownHandler(nullptr);
  mApp.SetOpenSettingsHandler(nullptr);
  mHelpWindow.reset();
  mSetUp.reset();
  mClock.reset();
  mClockLoaded = false;
}
