#pragma once
// What the program asks of an X11 desktop that Qt does not offer: whether a
// window manager runs, a window's real place on the screen (Qt's copy lags
// behind moves that the window manager makes by itself), its ICCCM state,
// and the taskbar hint. Every call does nothing (or answers "unknown") on
// another platform.
#include <functional>
#include <optional>

#include <QPoint>

class QWindow;

namespace platform::qt::x11 {

// True when the program runs on an X display (the xcb platform).
bool Available();
// True when an EWMH window manager runs on the display.
bool HasWindowManager();
// The outer top-left corner of a mapped top-level window on the screen, as
// the X server has it now; nothing when it is unknown.
std::optional<QPoint> FramePosition(const QWindow& window);
// Moves a mapped top-level window's outer corner there, past Qt's own
// record of where the window is.
void MoveFrame(const QWindow& window, QPoint position);
// True when the window manager holds the window iconified (ICCCM
// WM_STATE IconicState).
bool IsIconic(const QWindow& window);
// Keeps the window out of taskbars and pagers (_NET_WM_STATE_SKIP_TASKBAR,
// _NET_WM_STATE_SKIP_PAGER): on the property before the window is mapped,
// by a request to the window manager while it is.
void SkipTaskbar(const QWindow& window, bool mapped);
// Calls back whenever a system tray starts or ends on the display (the
// owner of the tray selection changes); an empty function stops.
void WatchSystemTray(std::function<void()> changed);

}  // namespace platform::qt::x11
