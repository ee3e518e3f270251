#pragma once
// One run of the program: owns the clock window, the settings dialog and the
// help window from the start routine to the end, and is handed by reference
// to the routines and windows that reach the others. Tests make one and its
// windows one by one.
#include <memory>

class frmHTMLHelp;
class frmMain;
class frmSetUp;

namespace platform {
class Application;
class ITimer;
}  // namespace platform

class Program {
 public:
  explicit Program(platform::Application& app);
  // Releases the windows (see ReleaseWindows).
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Application& App() const { return mApp; }

  // The clock window; nullptr before it is made and once it is unloaded
  // (the settings dialog's unload takes it along).
  frmMain* Clock() const { return mClockLoaded ? mClock.get() : nullptr; }
  // The settings dialog; nullptr before it is made and once released.
  frmSetUp* SetUp() const { return mSetUp.get(); }
  // The help window, made on the first use of the help; nullptr before.
  frmHTMLHelp* HelpWindow() const { return mHelpWindow.get(); }

  frmMain& MakeClock();
  // The clock must exist first and outlive the dialog.
  frmSetUp& MakeSetUp();
  frmHTMLHelp& MakeHelpWindow();
  // The clock was unloaded; its object stays until the windows are released.
  void ClockUnloaded() { mClockLoaded = false; }
  // Keeps a timer that works on the windows for as long as they exist.
  void KeepTimer(std::unique_ptr<platform::ITimer> timer);

  // Lets go of everything in order: the timers and the application's
  // handlers that reach the windows, the help window, the settings dialog
  // (it refers to the clock), the clock.
  void ReleaseWindows();

 private:
  platform::Application& mApp;
  std::unique_ptr<frmMain> mClock;
  bool mClockLoaded = false;
  std::unique_ptr<frmSetUp> mSetUp;
  std::unique_ptr<frmHTMLHelp> mHelpWindow;
  std::unique_ptr<platform::ITimer> mTimer;
};
