#include "clock/widgets/clsEZSubClass.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/Services.h"

using namespace platform;

namespace {

// A window whose own procedure records what reaches it and answers 100 + the
// message number.
struct Window {
  Window()
      : registration(
            [this](HWND h, UINT m, WPARAM w, LPARAM l) {
              seen.push_back({h, m, w, l});
              if (onMessage) onMessage(m);
              return static_cast<LRESULT>(100 + m);
            },
            {}) {}
  HWND h() const { return registration.Handle(); }
  struct Message {
    HWND h;
    UINT m;
    WPARAM w;
    LPARAM l;
    bool operator==(const Message&) const = default;
  };
  std::vector<Message> seen;
  std::function<void(UINT)> onMessage;
  WindowRegistration registration;
};

struct Recorder {
  explicit Recorder(clsEZSubClass& sub, std::vector<std::string>& log, std::string name) {
    sub.WndMessage = [&log, name](HWND, UINT& m, WPARAM&, LPARAM&, LRESULT& ret, bool&) {
      log.push_back(name + " " + std::to_string(m) + " ret " + std::to_string(ret));
    };
  }
};

TEST(EZSubClass, OneWindowOneWatcher) {
  Window window, other;
  const WNDPROC otherOwn = GetWindowProc(other.h());
  clsEZSubClass first, second;
  EXPECT_TRUE(first.SetHwndParam(window.h()));
  EXPECT_FALSE(first.SetHwndParam(window.h()));  // already watched by it
  EXPECT_FALSE(second.SetHwndParam(window.h()));
  EXPECT_EQ(second.HwndParam(), 0);
  EXPECT_FALSE(second.SetHwndParam(999999));  // not a window
  EXPECT_EQ(second.HwndParam(), 0);
  EXPECT_TRUE(second.SetHwndParam(other.h()));

  EXPECT_FALSE(first.SetHwndParam(0));
  EXPECT_TRUE(second.SetHwndParam(window.h()));
  EXPECT_EQ(GetWindowProc(other.h()), otherOwn);
}

TEST(EZSubClass, TypeZeroWithoutMessagesPassesEverythingUnchanged) {
  Window window;
  const WNDPROC own = GetWindowProc(window.h());
  clsEZSubClass sub;
  bool raised = false;
  sub.WndMessage = [&](HWND, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) { raised = true; };
  ASSERT_TRUE(sub.SetHwndParam(window.h()));
  EXPECT_EQ(sub.OldWndProc(), own);
  EXPECT_NE(GetWindowProc(window.h()), own);
  EXPECT_EQ(SendMessage(window.h(), WM_GETMINMAXINFO, 1, 2), 136);
  EXPECT_EQ(SendMessage(window.h(), WM_SYSCOMMAND, 512, -3), 374);
  EXPECT_EQ(window.seen, (std::vector<Window::Message>{{window.h(), WM_GETMINMAXINFO, 1, 2},
                                                       {window.h(), WM_SYSCOMMAND, 512, -3}}));
  EXPECT_FALSE(raised);
}

TEST(EZSubClass, TypeZeroComesFirstAndMayReplaceTheWindowsAnswer) {
  Window window;
  clsEZSubClass sub;
  sub.AddMessage(WM_GETMINMAXINFO);
  sub.AddMessage(WM_GETMINMAXINFO);
  bool replace = true;
  int raised = 0;
  sub.WndMessage = [&](HWND h, UINT& m, WPARAM& w, LPARAM&, LRESULT& ret, bool& noDef) {
    EXPECT_EQ(h, window.h());
    EXPECT_EQ(m, WM_GETMINMAXINFO);
    EXPECT_TRUE(window.seen.empty());
    ++raised;
    ret = 7;
    noDef = replace;
    w = 42;  // what the window's procedure gets when it runs
  };
  ASSERT_TRUE(sub.SetHwndParam(window.h()));
  EXPECT_EQ(SendMessage(window.h(), WM_GETMINMAXINFO, 0, 0), 7);
  EXPECT_EQ(raised, 1);  // once, though listed twice
  EXPECT_TRUE(window.seen.empty());

  replace = false;
  window.seen.clear();
  EXPECT_EQ(SendMessage(window.h(), WM_GETMINMAXINFO, 0, 0), 136);
  EXPECT_EQ(window.seen, (std::vector<Window::Message>{{window.h(), WM_GETMINMAXINFO, 42, 0}}));
  // A message not in the list goes to the window only.
  window.seen.clear();
  EXPECT_EQ(SendMessage(window.h(), WM_SYSCOMMAND, 1, 0), 374);
  EXPECT_EQ(raised, 2);
  EXPECT_EQ(window.seen.size(), 1u);
}

TEST(EZSubClass, TypeOneComesAfterWithTheWindowsAnswer) {
  Window window;
  clsEZSubClass sub;
  sub.SetSubclassType(1);
  sub.SetSubclassType(2);  // ignored
  EXPECT_EQ(sub.SubclassType(), 1);
  sub.AddMessage(WM_SYSCOMMAND);
  sub.WndMessage = [&](HWND, UINT&, WPARAM& w, LPARAM&, LRESULT& ret, bool&) {
    EXPECT_EQ(window.seen.size(), 1u);
    EXPECT_EQ(ret, 374);
    if (w == 512) ret = 1;
  };
  ASSERT_TRUE(sub.SetHwndParam(window.h()));
  EXPECT_EQ(SendMessage(window.h(), WM_SYSCOMMAND, 512, 0), 1);
  window.seen.clear();
  EXPECT_EQ(SendMessage(window.h(), WM_SYSCOMMAND, 0xF060, 0), 374);
}

TEST(EZSubClass, MessageListAndItsBounds) {
  clsEZSubClass sub;
  EXPECT_EQ(sub.MessageCount(), -1);
  sub.AddMessage(36);
  sub.AddMessage(274);
  EXPECT_EQ(sub.MessageCount(), 1);
  EXPECT_EQ(sub.Message(1), 274u);
  for (int32_t index : {-1, 2}) {
    try {
      sub.Message(index);
      ADD_FAILURE() << index;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), errSubscriptRange);
    }
  }
}

TEST(EZSubClass, WithoutReCallANestedMessageGoesStraightToTheWindow) {
  Window a, b;
  clsEZSubClass watchA, watchB;
  std::vector<std::string> log;
  watchA.AddMessage(1);
  watchA.AddMessage(2);
  watchB.AddMessage(3);
  watchB.SetAllowReCall(false);
  watchA.WndMessage = [&](HWND, UINT& m, WPARAM&, LPARAM&, LRESULT&, bool&) {
    log.push_back("A " + std::to_string(m));
    if (m == 1) {
      SendMessage(a.h(), 2, 0, 0);  // nested, allowed: handled and done
      SendMessage(b.h(), 3, 0, 0);  // nested, still inside message 1
    }
  };
  Recorder recordB(watchB, log, "B");
  ASSERT_TRUE(watchA.SetHwndParam(a.h()));
  ASSERT_TRUE(watchB.SetHwndParam(b.h()));

  SendMessage(a.h(), 1, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"A 1", "A 2"}));
  EXPECT_EQ(b.seen.size(), 1u);
  // Outside any message B's own messages are seen again.
  SendMessage(b.h(), 3, 0, 0);
  EXPECT_EQ(log.back(), "B 3 ret 0");
}

TEST(EZSubClass, DetachesOnlyWhileItsProcedureIsOnTop) {
  Window window;
  const WNDPROC own = GetWindowProc(window.h());
  auto sub = std::make_unique<clsEZSubClass>();
  std::vector<std::string> log;
  sub->AddMessage(5);
  Recorder record(*sub, log, "sub");
  ASSERT_TRUE(sub->SetHwndParam(window.h()));
  const WNDPROC ours = GetWindowProc(window.h());

  // Somebody else subclasses the window on top of us.
  int topSeen = 0;
  const WNDPROC top = MakeWindowProc([&, below = ours](HWND h, UINT m, WPARAM w, LPARAM l) {
    ++topSeen;
    return CallWindowProc(below, h, m, w, l);
  });
  SetWindowProc(window.h(), top);
  sub->Hook(false);
  EXPECT_EQ(GetWindowProc(window.h()), top);  // not cut out of the chain

  // Once the instance is gone the window's messages still reach its own
  // procedure through ours.
  sub.reset();
  EXPECT_EQ(SendMessage(window.h(), 5, 0, 0), 105);
  EXPECT_EQ(topSeen, 1);
  EXPECT_EQ(window.seen.size(), 1u);

  // The window is still claimed: no second watcher stacks up on it.
  clsEZSubClass later;
  EXPECT_FALSE(later.SetHwndParam(window.h()));
  SetWindowProc(window.h(), own);
}

TEST(EZSubClass, HookFalseRemembersTheWindowAndEndingDetaches) {
  Window window;
  const WNDPROC own = GetWindowProc(window.h());
  {
    clsEZSubClass sub;
    ASSERT_TRUE(sub.SetHwndParam(window.h()));
    sub.Hook(false);
    EXPECT_EQ(sub.HwndParam(), 0);
    EXPECT_EQ(GetWindowProc(window.h()), own);
    sub.Hook(true);
    EXPECT_EQ(sub.HwndParam(), window.h());
    EXPECT_NE(GetWindowProc(window.h()), own);
  }
  EXPECT_EQ(GetWindowProc(window.h()), own);
  clsEZSubClass next;
  EXPECT_TRUE(next.SetHwndParam(window.h()));
}

TEST(EZSubClass, InstanceEndedByTheWindowsOwnHandlingRaisesNothing) {
  Window window;
  auto sub = std::make_unique<clsEZSubClass>();
  sub->SetSubclassType(1);
  sub->AddMessage(WM_SYSCOMMAND);
  bool raised = false;
  sub->WndMessage = [&](HWND, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) { raised = true; };
  ASSERT_TRUE(sub->SetHwndParam(window.h()));
  // As a dialog does when its close command unloads it.
  window.onMessage = [&](UINT) { sub.reset(); };
  EXPECT_EQ(SendMessage(window.h(), WM_SYSCOMMAND, 0xF060, 0), 374);
  EXPECT_FALSE(raised);
}

TEST(EZSubClass, RealWindowKeepsWithinTheTrackSizesItAnswers) {
  auto form = Controls().CreateForm(FormStyle{"frmMain", "", vbSizable, false, false});
  form->Move(0, 0, 300 * 15, 200 * 15);
  clsEZSubClass sub;
  sub.AddMessage(WM_GETMINMAXINFO);
  sub.WndMessage = [](HWND, UINT&, WPARAM&, LPARAM& l, LRESULT& ret, bool& noDef) {
    MINMAXINFO& info = MinMaxInfoOf(l);
    info.ptMinTrackSize = {128, 40};
    info.ptMaxTrackSize = {1280, 800};
    ret = 0;
    noDef = true;
  };
  ASSERT_TRUE(sub.SetHwndParam(form->hWnd()));
  form->Move(0, 0, 50 * 15, 10 * 15);
  EXPECT_EQ(form->Width(), 128 * 15);
  EXPECT_EQ(form->Height(), 40 * 15);
  form->Move(0, 0, 3000 * 15, 2000 * 15);
  EXPECT_EQ(form->Width(), 1280 * 15);
  EXPECT_EQ(form->Height(), 800 * 15);
  form->Show();
  form->Move(0, 0, 200 * 15, 30 * 15);
  EXPECT_EQ(form->Width(), 200 * 15);
  EXPECT_EQ(form->Height(), 40 * 15);

  sub.SetHwndParam(0);
  form->Move(0, 0, 50 * 15, 10 * 15);
  EXPECT_EQ(form->Width(), 50 * 15);
  form->Hide();
}

}  // namespace
