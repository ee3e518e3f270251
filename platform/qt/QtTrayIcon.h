#pragma once
// The tray icon over QSystemTrayIcon. Its menu is rebuilt from the window's
// system menu whenever that changes and before it opens; a choice is sent
// as WM_SYSCOMMAND once the menu has closed.
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

#include "platform/TrayIcon.h"

namespace platform::qt {

class QtTrayIcon final : public ITrayIcon {
 public:
  QtTrayIcon();
  ~QtTrayIcon() override;

  void SetWindow(HWND hWnd) override;
  HWND Window() const override { return mhWnd; }
  void SetToolTip(const std::string& text) override;
  std::string ToolTip() const override;
  bool Visible() const override { return mInTray && mIcon && mIcon->isVisible(); }

  // The menu the icon offers, as last rebuilt.
  QMenu& Menu() const { return *mMenu; }
  // Lets the window gray its items (WM_INITMENU) and copies its system menu.
  void RebuildMenu();

 private:
  void ScheduleRebuild();
  void Choose(WPARAM id);
  // Sends a message to the window, reporting what its handlers raise.
  void Send(UINT uMsg, WPARAM wParam);
  void UpdateIcon();

  HWND mhWnd = 0;
  QString mToolTip;
  bool mRebuildPending = false;
  // Context of queued calls; gone with the tray, so none outlives it.
  std::unique_ptr<QObject> mContext;
  std::unique_ptr<QMenu> mMenu;
  std::unique_ptr<QSystemTrayIcon> mIcon;
  // A tray was there at the last look.
  bool mInTray = false;
  // Started when the platform reports a tray's arrival or departure; looks
  // again once the event loop is free.
  QTimer mTrayChanged;
};

// The clock's icon: the application's window icon when one is set, else a
// clock face drawn at the usual icon sizes.
QIcon ClockIcon();

}  // namespace platform::qt
