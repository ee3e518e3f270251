// The message layer on real forms: handles, procedures, system menus and
// the system commands the form carries out itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/WindowMessages.h"

using namespace platform;

namespace {

std::vector<std::string> Texts(HWND h) {
  std::vector<std::string> texts;
  for (const MenuItem& item : SystemMenuItems(h)) texts.push_back(item.IsSeparator() ? "-" : item.Text);
  return texts;
}

std::unique_ptr<IForm> MakeForm(int16_t borderStyle) {
  return Controls().CreateForm(FormStyle{"frmSetUp", "Kelvora Ver2.0", borderStyle, true, true});
}

const std::vector<std::string> kStandard{"元のサイズに戻す(&R)", "移動(&M)", "サイズ変更(&S)", "最小化(&N)",
                                         "最大化(&X)", "-", "閉じる(&C)\tAlt+F4"};

TEST(WindowMessages, FormsHaveHandlesForTheirLifetime) {
  HWND h = 0;
  {
    auto a = MakeForm(vbSizable);
    auto b = MakeForm(vbSizable);
    h = a->hWnd();
    EXPECT_GT(h, 0);
    EXPECT_NE(h, b->hWnd());
    EXPECT_TRUE(IsWindow(h));
  }
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(GetWindowProc(h), nullptr);
  EXPECT_EQ(SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  EXPECT_EQ(GetSystemMenu(h, 0), 0);
  EXPECT_FALSE(IsWindow(0));
}

TEST(WindowMessages, SettingsItemReplacesMoveAndRevertBringsTheStandardMenuBack) {
  auto form = MakeForm(vbFixedSingle);
  const HWND h = form->hWnd();
  EXPECT_EQ(Texts(h), kStandard);
  EXPECT_EQ(SystemMenuItems(h)[1].Id, SC_MOVE);

  // As the dialog does when it is parked.
  EXPECT_EQ(GetSystemMenu(h, 1), 0);
  const HMENU menu = GetSystemMenu(h, 0);
  ASSERT_NE(menu, 0);
  EXPECT_TRUE(DeleteMenu(menu, 1, MF_BYPOSITION));
  EXPECT_TRUE(AppendMenu(menu, MF_SEPARATOR, 0, ""));
  EXPECT_TRUE(AppendMenu(menu, 0, 512, "設定(&O)"));
  EXPECT_EQ(Texts(h), (std::vector<std::string>{"元のサイズに戻す(&R)", "サイズ変更(&S)", "最小化(&N)", "最大化(&X)",
                                                "-", "閉じる(&C)\tAlt+F4", "-", "設定(&O)"}));
  EXPECT_EQ(SystemMenuItems(h).back().Id, 512u);

  EXPECT_EQ(GetSystemMenu(h, 1), 0);
  EXPECT_EQ(Texts(h), kStandard);

  EXPECT_FALSE(DeleteMenu(menu, 7, MF_BYPOSITION));
  EXPECT_TRUE(DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND));
  EXPECT_FALSE(DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND));
  EXPECT_FALSE(AppendMenu(12345, 0, 1, "x"));
}

TEST(WindowMessages, DialogsHaveTheShortMenu) {
  auto dialog = MakeForm(vbFixedDialog);
  EXPECT_EQ(Texts(dialog->hWnd()), (std::vector<std::string>{"移動(&M)", "閉じる(&C)\tAlt+F4"}));
}

TEST(WindowMessages, CloseCommandAsksTheWindowAsItsCloseBoxDoes) {
  auto form = MakeForm(vbSizable);
  std::vector<int16_t> modes;
  int16_t cancel = -1;
  form->Events.QueryUnload = [&](int16_t& c, int16_t mode) {
    modes.push_back(mode);
    c = cancel;
  };
  form->Show();
  SendMessage(form->hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(modes, std::vector<int16_t>{0});
  EXPECT_TRUE(form->Visible());
  cancel = 0;
  SendMessage(form->hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(form->Visible());
}

TEST(WindowMessages, MenuGraysWhatTheWindowCannotDoNow) {
  auto form = MakeForm(vbSizable);
  const HWND h = form->hWnd();
  const HMENU menu = GetSystemMenu(h, 0);
  SendMessage(h, WM_INITMENU, static_cast<WPARAM>(menu), 0);
  std::vector<bool> grayed;
  for (const MenuItem& item : SystemMenuItems(h)) grayed.push_back((item.Flags & MF_GRAYED) != 0);
  // Restore, move and size grayed in the normal state (the window manager
  // moves and sizes by mouse); minimise, maximise and close offered.
  EXPECT_EQ(grayed, (std::vector<bool>{true, true, true, false, false, false, false}));
  EXPECT_TRUE(EnableMenuItem(menu, 0, MF_BYPOSITION | MF_ENABLED));
  EXPECT_EQ(SystemMenuItems(h)[0].Flags & MF_GRAYED, 0u);
}

TEST(WindowMessages, ReplacedProcedureSeesTheSystemsMessagesAndPassesThemOn) {
  auto form = MakeForm(vbSizable);
  const HWND h = form->hWnd();
  std::vector<UINT> seen;
  const WNDPROC own = GetWindowProc(h);
  const WNDPROC watcher = MakeWindowProc([&, own](HWND hWnd, UINT m, WPARAM w, LPARAM l) {
    seen.push_back(m);
    return CallWindowProc(own, hWnd, m, w, l);
  });
  EXPECT_EQ(SetWindowProc(h, watcher), own);
  form->Move(0, 0, 1500, 1500);
  SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(form->WindowState(), vbMinimized);
  // Installing it asked for the size limits; so did the move.
  EXPECT_EQ(seen, (std::vector<UINT>{WM_GETMINMAXINFO, WM_GETMINMAXINFO, WM_SYSCOMMAND}));
  EXPECT_EQ(SetWindowProc(h, nullptr), nullptr);
  EXPECT_EQ(GetWindowProc(h), watcher);
}

}  // namespace
