#pragma once
// Lets the owner see chosen messages of one top-level window before or after
// the window's own procedure handles them, as the event WndMessage.
//
// All instances share one replacement procedure (SubclassWindowProc) and a
// process-wide table of (window, instance) slots; a window can be watched by
// one instance only. An instance keeps its slot for life. Destroying it
// detaches it from its window.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/WindowMessages.h"

class clsEZSubClass {
 public:
  clsEZSubClass();
  ~clsEZSubClass();
  clsEZSubClass(const clsEZSubClass&) = delete;
  clsEZSubClass& operator=(const clsEZSubClass&) = delete;

  // Watches another window (0: none). False when hWnd is already the watched
  // window, or when attaching fails (not a window, or watched by another
  // instance).
  bool SetHwndParam(platform::HWND hWnd);
  platform::HWND HwndParam() const { return mlngHwndParam; }
  // False: remembers the window and detaches; true: attaches again to the
  // remembered window when none is watched.
  void Hook(bool abln);

  // Messages that raise WndMessage (duplicates allowed).
  void AddMessage(platform::UINT Msg);
  // Error 9 for an index outside the list.
  platform::UINT Message(int32_t Index) const;
  // The index of the last message, −1 for none.
  int32_t MessageCount() const { return static_cast<int32_t>(mMessages.size()) - 1; }

  // False: a message arriving while another watched message is being
  // handled goes straight to the old procedure.
  bool AllowReCall() const { return mblnAllowReCall; }
  void SetAllowReCall(bool vblnAllowReCall) { mblnAllowReCall = vblnAllowReCall; }
  // 0: the event comes before the old procedure and may replace it;
  // 1: after it, with its result. Other values are ignored.
  int32_t SubclassType() const { return mlngSubclassType; }
  void SetSubclassType(int32_t vlngSubclassType);
  // The window's procedure before this instance attached.
  const platform::WNDPROC& OldWndProc() const { return mOldWndProc; }

  // Raises WndMessage with the same arguments.
  void WindowProc(platform::HWND hwnd, platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam,
                  platform::LRESULT& RetValue, bool& NoDef);

  // The owner may set RetValue and NoDef (type 0: NoDef true returns
  // RetValue without calling the old procedure).
  std::function<void(platform::HWND hwnd, platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam,
                     platform::LRESULT& RetValue, bool& NoDef)>
      WndMessage;

 private:
  bool AttachWindow(platform::HWND hWnd);
  void DetachWindow();
  // The procedure every watched window gets.
  static platform::LRESULT SubclassWindowProc(platform::HWND hWnd, platform::UINT uMsg, platform::WPARAM wParam,
                                              platform::LPARAM lParam);
  static const platform::WNDPROC& SharedProc();

  platform::HWND mlngHwndParam = 0;
  std::vector<platform::UINT> mMessages;
  bool mblnAllowReCall = true;
  int32_t mlngSubclassType = 0;
  platform::WNDPROC mOldWndProc;
  size_t mlngSlot;
  platform::HWND mlngSavedHwnd = 0;
};
