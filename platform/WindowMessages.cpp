#include "platform/WindowMessages.h"

#include <unordered_map>
#include <utility>

namespace platform {
namespace {

struct WindowRecord {
  WNDPROC Procedure;
  std::function<void()> ProcedureChanged;
  std::vector<MenuItem> StandardMenu;
  std::vector<MenuItem> Menu;
  HMENU MenuHandle = 0;
};

struct Registry {
  std::unordered_map<HWND, WindowRecord> Windows;
  std::unordered_map<HMENU, HWND> Menus;
  int32_t LastHandle = 0x100;
  std::function<void(HWND)> MenuChanged;
};

Registry& Windows() {
  static Registry registry;
  return registry;
}

WindowRecord* Find(HWND hWnd) {
  auto it = Windows().Windows.find(hWnd);
  return it == Windows().Windows.end() ? nullptr : &it->second;
}

std::vector<MenuItem>* FindMenu(HMENU hMenu) {
  auto it = Windows().Menus.find(hMenu);
  if (it == Windows().Menus.end()) return nullptr;
  WindowRecord* record = Find(it->second);
  return record ? &record->Menu : nullptr;
}

void MenuChanged(HWND hWnd) {
  if (Windows().MenuChanged) {
    const auto handler = Windows().MenuChanged;
    handler(hWnd);
  }
}

void MenuChangedOf(HMENU hMenu) {
  auto it = Windows().Menus.find(hMenu);
  if (it != Windows().Menus.end()) MenuChanged(it->second);
}

}  // namespace

bool IsWindow(HWND hWnd) { return Find(hWnd) != nullptr; }

WNDPROC GetWindowProc(HWND hWnd) {
  const WindowRecord* record = Find(hWnd);
  return record ? record->Procedure : nullptr;
}

WNDPROC SetWindowProc(HWND hWnd, WNDPROC procedure) {
  WindowRecord* record = Find(hWnd);
  if (!record || !procedure || !*procedure) return nullptr;
  WNDPROC old = std::exchange(record->Procedure, std::move(procedure));
  // The handler may send messages; it finds the new procedure in place.
  if (record->ProcedureChanged) {
    const auto changed = record->ProcedureChanged;
    changed();
  }
  return old;
}

LRESULT CallWindowProc(const WNDPROC& procedure, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (!procedure || !*procedure) return 0;
  // A copy keeps the procedure alive even if it replaces itself meanwhile.
  const WNDPROC keep = procedure;
  return (*keep)(hWnd, uMsg, wParam, lParam);
}

LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProc(GetWindowProc(hWnd), hWnd, uMsg, wParam, lParam);
}

HMENU GetSystemMenu(HWND hWnd, int32_t bRevert) {
  WindowRecord* record = Find(hWnd);
  if (!record) return 0;
  if (bRevert != 0) {
    record->Menu = record->StandardMenu;
    MenuChanged(hWnd);
    return 0;
  }
  return record->MenuHandle;
}

namespace {

// The item a position or command identifier names; end() when none.
std::vector<MenuItem>::iterator FindItem(std::vector<MenuItem>& menu, UINT uItem, UINT uFlags) {
  if (uFlags & MF_BYPOSITION) return uItem < menu.size() ? menu.begin() + uItem : menu.end();
  for (auto it = menu.begin(); it != menu.end(); ++it)
    if (!it->IsSeparator() && it->Id == uItem) return it;
  return menu.end();
}

}  // namespace

bool DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  std::vector<MenuItem>* menu = FindMenu(hMenu);
  if (!menu) return false;
  const auto it = FindItem(*menu, uPosition, uFlags);
  if (it == menu->end()) return false;
  menu->erase(it);
  MenuChangedOf(hMenu);
  return true;
}

bool EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  std::vector<MenuItem>* menu = FindMenu(hMenu);
  if (!menu) return false;
  const auto it = FindItem(*menu, uIDEnableItem, uEnable);
  if (it == menu->end()) return false;
  const UINT flags = (it->Flags & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
  if (flags != it->Flags) {
    it->Flags = flags;
    MenuChangedOf(hMenu);
  }
  return true;
}

bool AppendMenu(HMENU hMenu, UINT uFlags, WPARAM uIDNewItem, const std::string& lpNewItem) {
  std::vector<MenuItem>* menu = FindMenu(hMenu);
  if (!menu) return false;
  MenuItem item;
  item.Flags = uFlags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED);
  if (!item.IsSeparator()) {
    item.Id = uIDNewItem;
    item.Text = lpNewItem;
  }
  menu->push_back(std::move(item));
  MenuChangedOf(hMenu);
  return true;
}

std::vector<MenuItem> SystemMenuItems(HWND hWnd) {
  const WindowRecord* record = Find(hWnd);
  return record ? record->Menu : std::vector<MenuItem>{};
}

void SetSystemMenuChanged(std::function<void(HWND hWnd)> handler) { Windows().MenuChanged = std::move(handler); }

WindowRegistration::WindowRegistration(WindowProcedure defaultProcedure, std::vector<MenuItem> standardMenu) {
  Registry& registry = Windows();
  mhWnd = ++registry.LastHandle;
  const HMENU menu = ++registry.LastHandle;
  WindowRecord& record = registry.Windows[mhWnd];
  record.Procedure = MakeWindowProc(std::move(defaultProcedure));
  record.StandardMenu = std::move(standardMenu);
  record.Menu = record.StandardMenu;
  record.MenuHandle = menu;
  registry.Menus[menu] = mhWnd;
}

WindowRegistration::~WindowRegistration() {
  Registry& registry = Windows();
  if (WindowRecord* record = Find(mhWnd)) registry.Menus.erase(record->MenuHandle);
  registry.Windows.erase(mhWnd);
}

void WindowRegistration::SetProcedureChanged(std::function<void()> handler) {
  if (WindowRecord* record = Find(mhWnd)) record->ProcedureChanged = std::move(handler);
}

}  // namespace platform
