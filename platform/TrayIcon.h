#pragma once
// The notification-area icon that offers the system menu of the window
// owning the program's taskbar entry. Linux window managers do not let a
// program extend their own window menu, so the tray is where its items are
// found. Choosing an item sends WM_SYSCOMMAND with the item's identifier
// through that window's procedure. Without a system tray nothing shows and
// every call still succeeds.
#include <string>

#include "platform/Services.h"
#include "platform/WindowMessages.h"

namespace platform {

class ITrayIcon {
 public:
  virtual ~ITrayIcon() = default;
  // The window whose system menu the icon offers; 0 removes the icon.
  virtual void SetWindow(HWND hWnd) = 0;
  virtual HWND Window() const = 0;
  // The text shown when the pointer rests on the icon.
  virtual void SetToolTip(const std::string& text) = 0;
  virtual std::string ToolTip() const = 0;
  // True when the icon is shown in a system tray.
  virtual bool Visible() const = 0;
};

inline ITrayIcon& TrayIcon() { return ServiceSlot<ITrayIcon>::Get(); }

}  // namespace platform
