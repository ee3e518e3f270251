#pragma once
// The running application: starts the platform, installs its services and
// runs the message loop.
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class IForm;

class Application {
 public:
  // title: the application title (message boxes, settings store).
  Application(int& argc, char** argv, const std::string& title);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static const std::string& Title();
  // The running application.
  static Application& Current();
  // Runs the message loop until Quit or the last window closes.
  int Run();
  void Quit();
  // Handles pending events (the language's DoEvents).
  static void DoEvents();
  // Runs step once from the message loop, after the events pending now
  // (guarded as every event is); dropped when no application runs.
  static void RunWhenIdle(std::function<void()> step);
  // Runs step once, from the message loop, right after the shown form's
  // first frame has been drawn and handed to the window system; after a
  // second at the latest where nothing is drawn. Dropped when no
  // application runs, or once the form is gone.
  static void RunAfterFirstFrame(const IForm& form, std::function<void()> step);
  // Gives the heap's free memory back to the system: for after work whose
  // memory the run no longer needs.
  static void ReturnFreeMemory();

  // True when another copy of this program already runs for this user; that
  // copy has then been asked to restore its last active window if it is
  // minimised, without bringing it to the front. The first copy holds its
  // claim for its whole run. The check is atomic: of several copies started
  // at the same moment, exactly one finds no other.
  bool PrevInstance();

  // Requests a later copy sends to the copy already running.
  enum class InstanceRequest { Restore, OpenSettings, Quit };
  enum class InstanceReply {
    Done,         // the running copy did it (with Quit: and has ended)
    NotRunning,   // no copy runs for this user
    NoAnswer,     // a copy runs but did not answer (or did not end in time)
    Unsupported,  // the running copy does not know the request
    NoFolder,     // no safe runtime folder: copies cannot reach each other
  };
  // As PrevInstance, but a copy found running receives request.
  bool PrevInstance(InstanceRequest request);
  // Sends a request to the copy running for this user, without starting
  // the platform (no display needed). With Quit, waits until that copy has
  // saved and ended.
  static InstanceReply AskRunningCopy(const std::string& title, InstanceRequest request);
  // What this copy does when a later copy asks it to open its settings
  // (without a handler it restores its last active window). A request to
  // end runs the shutdown handler, as a termination signal does.
  void SetOpenSettingsHandler(std::function<void()> handler);

  // False where the window system does not let a program place its own
  // windows (a Wayland session without XWayland): no absolute positions, no
  // off-screen parking, no staying on top by itself.
  static bool CanPlaceWindows();
  // True when a window manager runs that keeps windows on the screen and
  // iconifies them on request (an EWMH window manager on X11).
  static bool HasWindowManager();

  // The picture every window of the program (and its taskbar entry and tray
  // icon) shows as its icon; an unreadable file leaves the platform's.
  static void SetIcon(const std::string& pictureFile);

  // Called once when the program is told to end from outside its windows
  // (the session ends, or SIGTERM, SIGHUP or SIGINT arrives), before the
  // message loop stops: the place to save what must survive. Install it
  // before anything of the program can be seen from outside: a signal that
  // arrives from then on is kept and handled once Run starts the loop.
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
