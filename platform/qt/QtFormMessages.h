#pragma once
// The message side of a form: its handle, its own window procedure (what
// the system does with a message nobody replaced) and its system menu; and
// the routing of Qt's geometry to WM_GETMINMAXINFO.
#include "platform/WindowMessages.h"

namespace platform::qt {

class QtForm;

class FormMessages {
 public:
  explicit FormMessages(QtForm& form);
  ~FormMessages();
  FormMessages(const FormMessages&) = delete;
  FormMessages& operator=(const FormMessages&) = delete;

  HWND Handle() const { return mRegistration.Handle(); }
  // Asks the window's procedure for its size limits (WM_GETMINMAXINFO, pre-
  // filled with the system's answer) and gives the window its minimum and
  // maximum track sizes: neither the user nor the program can size it
  // beyond them. A window without a sizing border is held at its size.
  void ApplyTrackSize();

 private:
  LRESULT DefaultProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  void SysCommand(WPARAM command);
  void InitSystemMenu(HMENU hMenu);

  QtForm& mForm;
  WindowRegistration mRegistration;
};

}  // namespace platform::qt
