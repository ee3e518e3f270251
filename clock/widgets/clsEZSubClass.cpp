#include "clock/widgets/clsEZSubClass.h"

#include <algorithm>

#include "platform/RuntimeError.h"

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WNDPROC;
using platform::WPARAM;

namespace {

struct Slot {
  HWND hWnd = 0;
  clsEZSubClass* Instance = nullptr;
  // For a window whose procedure could not be taken back when its instance
  // ended: where its messages still go.
  WNDPROC OrphanOldProc;
};

// The process-wide table; slots are never reused.
std::vector<Slot>& Slots() {
  static std::vector<Slot> slots;
  return slots;
}

// Set while a watched message is being handled.
bool gblnBusy = false;

// Sets the busy flag for one message and puts back what it was, so that a
// nested message does not end the guard of the message around it.
class BusyScope {
 public:
  BusyScope() : mblnOuter(gblnBusy) { gblnBusy = true; }
  ~BusyScope() { gblnBusy = mblnOuter; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool mblnOuter;
};

}  // namespace

clsEZSubClass::clsEZSubClass() : mlngSlot(Slots().size()) { Slots().push_back(Slot{0, this, nullptr}); }

clsEZSubClass::~clsEZSubClass() {
  Hook(false);
  Slot& slot = Slots()[mlngSlot];
  slot.Instance = nullptr;
  // Another procedure sits on top of ours, so ours stays in the window's
  // chain: its messages keep going to the procedure we replaced.
  if (slot.hWnd != 0 && platform::IsWindow(slot.hWnd)) slot.OrphanOldProc = mOldWndProc;
  else slot.hWnd = 0;
}

const WNDPROC& clsEZSubClass::SharedProc() {
  static const WNDPROC proc = platform::MakeWindowProc(&clsEZSubClass::SubclassWindowProc);
  return proc;
}

bool clsEZSubClass::SetHwndParam(HWND hWnd) {
  if (hWnd == mlngHwndParam) return false;
  DetachWindow();
  mlngHwndParam = hWnd;
  return hWnd != 0 && AttachWindow(hWnd);
}

void clsEZSubClass::Hook(bool abln) {
  if (abln) {
    if (mlngHwndParam == 0 && mlngSavedHwnd != 0) SetHwndParam(mlngSavedHwnd);
  } else {
    mlngSavedHwnd = mlngHwndParam;
    SetHwndParam(0);
  }
}

void clsEZSubClass::AddMessage(UINT Msg) { mMessages.push_back(Msg); }

UINT clsEZSubClass::Message(int32_t Index) const {
  if (Index < 0 || Index > MessageCount()) platform::RaiseError(platform::errSubscriptRange);
  return mMessages[static_cast<size_t>(Index)];
}

void clsEZSubClass::SetSubclassType(int32_t vlngSubclassType) {
  if (vlngSubclassType == 0 || vlngSubclassType == 1) mlngSubclassType = vlngSubclassType;
}

void clsEZSubClass::WindowProc(HWND hwnd, UINT& uMsg, WPARAM& wParam, LPARAM& lParam, LRESULT& RetValue,
                               bool& NoDef) {
  if (WndMessage) WndMessage(hwnd, uMsg, wParam, lParam, RetValue, NoDef);
}

bool clsEZSubClass::AttachWindow(HWND hWnd) {
  const auto& slots = Slots();
  const bool watched = std::any_of(slots.begin(), slots.end(), [&](const Slot& s) {
    return s.hWnd == hWnd && &s != &slots[mlngSlot];
  });
  if (!platform::IsWindow(hWnd) || watched) {
    mlngHwndParam = 0;
    return false;
  }
  Slots()[mlngSlot].hWnd = hWnd;
  mOldWndProc = platform::GetWindowProc(hWnd);
  platform::SetWindowProc(hWnd, SharedProc());
  return true;
}

void clsEZSubClass::DetachWindow() {
  // Only while our procedure is still the window's: one put on top of it
  // later would be cut out of the chain.
  if (mlngHwndParam <= 0 || !platform::IsWindow(mlngHwndParam)) return;
  if (platform::GetWindowProc(mlngHwndParam) != SharedProc() || !mOldWndProc) return;
  platform::SetWindowProc(mlngHwndParam, mOldWndProc);
  mlngHwndParam = 0;
  Slots()[mlngSlot].hWnd = 0;
}

LRESULT clsEZSubClass::SubclassWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  const auto& slots = Slots();
  const auto found = std::find_if(slots.begin(), slots.end(), [hWnd](const Slot& s) { return s.hWnd == hWnd; });
  if (found == slots.end()) return 0;
  // The table may grow and the instance may end while the message is
  // handled: keep the slot's index and what the rest of the call needs.
  const size_t slotIndex = static_cast<size_t>(found - slots.begin());
  clsEZSubClass* self = found->Instance;
  if (!self) return platform::CallWindowProc(found->OrphanOldProc, hWnd, uMsg, wParam, lParam);
  const WNDPROC oldProc = self->mOldWndProc;
  if (!self->mblnAllowReCall && gblnBusy) return platform::CallWindowProc(oldProc, hWnd, uMsg, wParam, lParam);

  BusyScope busy;
  const bool watched = std::find(self->mMessages.begin(), self->mMessages.end(), uMsg) != self->mMessages.end();
  LRESULT RetValue = 0;
  bool NoDef = false;
  if (self->mlngSubclassType == 0) {
    if (self->mMessages.empty()) return platform::CallWindowProc(oldProc, hWnd, uMsg, wParam, lParam);
    if (watched) self->WindowProc(hWnd, uMsg, wParam, lParam, RetValue, NoDef);
    if (NoDef || !oldProc) return RetValue;
    return platform::CallWindowProc(oldProc, hWnd, uMsg, wParam, lParam);
  }
  if (oldProc) RetValue = platform::CallWindowProc(oldProc, hWnd, uMsg, wParam, lParam);
  // The old procedure may have ended the instance (its window unloading).
  if (watched && Slots()[slotIndex].Instance == self) self->WindowProc(hWnd, uMsg, wParam, lParam, RetValue, NoDef);
  return RetValue;
}
