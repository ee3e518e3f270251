#pragma once
// Window messages: every top-level window has a handle and a replaceable
// window procedure through which the backend sends the messages it routes
// (WM_GETMINMAXINFO before a size change, WM_SYSCOMMAND for a system-menu
// choice). A procedure is a shared callable, so that it can be compared and
// called on: whoever replaces one keeps the old one and passes messages to it.
//
// Handles are positive and never reused within a run, so a stale handle
// simply stops being a window. Only the user-interface thread uses them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

using HWND = int32_t;
using HMENU = int32_t;
using UINT = uint32_t;
// Pointer-sized, as on 64-bit Windows: lParam may carry a structure's address.
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr UINT WM_GETMINMAXINFO = 0x24;  // 36
constexpr UINT WM_SYSCOMMAND = 0x112;    // 274
// Sent before the system menu opens (wParam: the menu), so that the window
// can enable or gray its items for its current state.
constexpr UINT WM_INITMENU = 0x116;

// Commands of the standard system menu.
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;

struct POINTAPI {
  int32_t x = 0;
  int32_t y = 0;
};

// Sizes in pixels. The track sizes bound what the user and the program can
// size the window to.
struct MINMAXINFO {
  POINTAPI ptReserved;
  POINTAPI ptMaxSize;
  POINTAPI ptMaxPosition;
  POINTAPI ptMinTrackSize;
  POINTAPI ptMaxTrackSize;
};
static_assert(sizeof(MINMAXINFO) == 40);

// The MINMAXINFO a WM_GETMINMAXINFO message points at.
inline MINMAXINFO& MinMaxInfoOf(LPARAM lParam) { return *reinterpret_cast<MINMAXINFO*>(lParam); }

using WindowProcedure = std::function<LRESULT(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)>;
using WNDPROC = std::shared_ptr<const WindowProcedure>;

inline WNDPROC MakeWindowProc(WindowProcedure procedure) {
  return std::make_shared<const WindowProcedure>(std::move(procedure));
}

// True while hWnd names an existing window.
bool IsWindow(HWND hWnd);
// The window's current procedure; nullptr when hWnd is not a window.
WNDPROC GetWindowProc(HWND hWnd);
// Installs a procedure and returns the one it replaces; nullptr (and
// nothing changed) when hWnd is not a window or the procedure is empty.
WNDPROC SetWindowProc(HWND hWnd, WNDPROC procedure);
// Calls a procedure; 0 for none.
LRESULT CallWindowProc(const WNDPROC& procedure, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Sends a message through the window's current procedure; 0 when hWnd is
// not a window.
LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// ---- the system menu of a window

constexpr UINT MF_STRING = 0x0;
constexpr UINT MF_BYCOMMAND = 0x0;
constexpr UINT MF_GRAYED = 0x1;
constexpr UINT MF_DISABLED = 0x2;
constexpr UINT MF_BYPOSITION = 0x400;
constexpr UINT MF_SEPARATOR = 0x800;

struct MenuItem {
  UINT Flags = MF_STRING;
  WPARAM Id = 0;
  std::string Text;
  bool IsSeparator() const { return (Flags & MF_SEPARATOR) != 0; }
};

// bRevert non-zero: puts the window's standard menu back and returns 0.
// Otherwise the handle of the window's menu (0 when hWnd is not a window).
HMENU GetSystemMenu(HWND hWnd, int32_t bRevert);
// Removes an item by position (MF_BYPOSITION) or by command identifier;
// false when there is no such item.
bool DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
// Appends a command item (text) or, with MF_SEPARATOR, a separator.
bool AppendMenu(HMENU hMenu, UINT uFlags, WPARAM uIDNewItem, const std::string& lpNewItem);
// Grays (MF_GRAYED) or enables (MF_ENABLED) an item by position or by
// command identifier; false when there is no such item.
constexpr UINT MF_ENABLED = 0x0;
bool EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
// The items of a window's system menu, in order (empty when not a window).
std::vector<MenuItem> SystemMenuItems(HWND hWnd);
// Called after any window's system menu changed (reverted, deleted from,
// appended to, grayed); one handler for the process, nullptr for none.
void SetSystemMenuChanged(std::function<void(HWND hWnd)> handler);

// The registration of one window, held by the backend's window for its
// lifetime: gives it a handle, installs its own procedure and keeps its
// system menu. Destroying it ends the handle.
class WindowRegistration {
 public:
  WindowRegistration(WindowProcedure defaultProcedure, std::vector<MenuItem> standardMenu);
  ~WindowRegistration();
  WindowRegistration(const WindowRegistration&) = delete;
  WindowRegistration& operator=(const WindowRegistration&) = delete;

  HWND Handle() const { return mhWnd; }
  // Called after the window's procedure was replaced.
  void SetProcedureChanged(std::function<void()> handler);

 private:
  HWND mhWnd;
};

}  // namespace platform
