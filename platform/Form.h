#pragma once
// A top-level window: a control and a drawing surface, with its events.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Surface.h"
#include "platform/WindowMessages.h"

namespace platform {


enum FormBorderStyle : int16_t {
  vbBSNone = 0,
  vbFixedSingle = 1,
  vbSizable = 2,
  vbFixedDialog = 3,
  vbFixedToolWindow = 4,
  vbSizableToolWindow = 5,
};

enum WindowStateConstants : int16_t { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };

// Mouse buttons and shift states as events report them.
enum MouseButtonConstants : int16_t { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum ShiftConstants : int16_t { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
// Key codes as key events report them (letters and digits are their ASCII
// capitals; F1 to F24 follow vbKeyF1).
enum KeyCodeConstants : int16_t {
  vbKeyBack = 8,
  vbKeyTab = 9,
  vbKeyReturn = 13,
  vbKeyShift = 16,
  vbKeyControl = 17,
  vbKeyMenu = 18,
  vbKeyEscape = 27,
  vbKeySpace = 32,
  vbKeyPageUp = 33,
  vbKeyPageDown = 34,
  vbKeyEnd = 35,
  vbKeyHome = 36,
  vbKeyLeft = 37,
  vbKeyUp = 38,
  vbKeyRight = 39,
  vbKeyDown = 40,
  vbKeyInsert = 45,
  vbKeyDelete = 46,
  vbKeyF1 = 112,
  vbKeyF4 = 115,
};

// How a window looks when it is created.
struct FormStyle {
  std::string Name;
  std::string Caption;
  int16_t BorderStyle = vbSizable;
  bool ControlBox = true;
  bool ShowInTaskbar = true;
};

// Events of a form. Unset handlers are skipped. Mouse positions are in the
// form's scale units.
struct FormEvents {
  std::function<void()> Paint;
  std::function<void()> Resize;
  std::function<void()> DblClick;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseDown;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseMove;
  std::function<void(int16_t button, int16_t shift, double x, double y)> MouseUp;
  std::function<void(int16_t& keyCode, int16_t shift)> KeyDown;
  // The window is asked to close (unloadMode 0: by the user's close
  // command, 1: by the program's Unload); a non-zero cancel keeps it open.
  std::function<void(int16_t& cancel, int16_t unloadMode)> QueryUnload;
  std::function<void(int16_t& cancel)> Unload;
};

class IForm : public IControl, public ISurface {
 public:
  ControlKind Kind() const override { return ControlKind::Form; }
  IControl* Container() const override { return nullptr; }

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual int16_t WindowState() const = 0;
  virtual void SetWindowState(int16_t state) = 0;

  // Keeps the window above all others (true) or in the normal band.
  virtual bool TopMost() const = 0;
  virtual void SetTopMost(bool topMost) = 0;

  // Starts the platform's own window-move loop, as a press on a title bar
  // does; called while the left button is pressed on the window.
  virtual void BeginSystemMove() {}

  virtual void Show() = 0;
  // Shows the window modal to the application and returns once it is
  // closed or hidden.
  virtual void ShowModal() { Show(); }
  virtual void Hide() = 0;
  // Brings a shown window to the front and gives it the keyboard.
  virtual void Activate() {}
  // Closes the window from the program (QueryUnload with unload mode 1,
  // then Unload).
  virtual void Unload() = 0;
  // 0 brings the window to the front of the others and activates it; 1
  // sends it to the back.
  virtual void ZOrder(int16_t) {}

  // The window's handle in the message layer: its procedure and system
  // menu (platform/WindowMessages.h). 0 on a backend without one.
  virtual HWND hWnd() const { return 0; }

  FormEvents Events;
};

}  // namespace platform
