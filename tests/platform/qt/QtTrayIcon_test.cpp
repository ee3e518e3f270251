// The tray icon's menu: a copy of the taskbar window's system menu whose
// choices reach the window's procedure.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <gtest/gtest.h>

#include "platform/Services.h"
#include "platform/TrayIcon.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/qt/QtTrayIcon.h"

using namespace platform;

namespace {

std::vector<std::string> Shown() {
  auto& tray = dynamic_cast<qt::QtTrayIcon&>(TrayIcon());
  std::vector<std::string> texts;
  for (QAction* action : tray.Menu().actions())
    texts.push_back(action->isSeparator() ? "-" : action->text().toStdString() + (action->isEnabled() ? "" : " (gray)"));
  return texts;
}

QAction* ActionNamed(const std::string& text) {
  auto& tray = dynamic_cast<qt::QtTrayIcon&>(TrayIcon());
  for (QAction* action : tray.Menu().actions())
    if (action->text().toStdString() == text) return action;
  return nullptr;
}

// What AddSettingsMenuItem does to the window's system menu.
void AddSettingsItem(HWND h) {
  GetSystemMenu(h, 1);
  const HMENU menu = GetSystemMenu(h, 0);
  DeleteMenu(menu, 1, MF_BYPOSITION);
  AppendMenu(menu, MF_SEPARATOR, 0, "");
  AppendMenu(menu, 0, 512, "設定(&O)");
}

struct TrayIconTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmSetUp", "Kelvora Ver2.0", vbFixedSingle, true, true});
    own = GetWindowProc(form->hWnd());
    SetWindowProc(form->hWnd(), MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) {
                    if (m == WM_SYSCOMMAND) commands.push_back(w);
                    if (m == WM_SYSCOMMAND && w == 513) RaiseError(errInvalidCall);
                    return CallWindowProc(own, h, m, w, l);
                  }));
    TrayIcon().SetWindow(form->hWnd());
  }
  void TearDown() override { TrayIcon().SetWindow(0); }

  std::unique_ptr<IForm> form;
  WNDPROC own;
  std::vector<WPARAM> commands;
};

TEST_F(TrayIconTest, MenuFollowsTheSystemMenuAndAChoiceReachesTheProcedure) {
  EXPECT_EQ(TrayIcon().Window(), form->hWnd());
  AddSettingsItem(form->hWnd());
  QApplication::processEvents();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"元のサイズに戻す(&R) (gray)", "サイズ変更(&S) (gray)", "最小化(&N)",
                                               "最大化(&X) (gray)", "-", "閉じる(&C)\tAlt+F4", "-", "設定(&O)"}));

  QAction* settings = ActionNamed("設定(&O)");
  ASSERT_NE(settings, nullptr);
  settings->trigger();
  EXPECT_TRUE(commands.empty());  // once the menu has closed
  QApplication::processEvents();
  EXPECT_EQ(commands, std::vector<WPARAM>{512});

  // Opened on screen, the dialog's menu is the standard one again.
  GetSystemMenu(form->hWnd(), 1);
  QApplication::processEvents();
  EXPECT_EQ(ActionNamed("設定(&O)"), nullptr);
  EXPECT_NE(ActionNamed("移動(&M)"), nullptr);
}

TEST_F(TrayIconTest, FailingCommandIsReportedAndCloseClosesTheWindow) {
  RecordingMessageBox box;
  AppendMenu(GetSystemMenu(form->hWnd(), 0), 0, 513, "壊れた項目");
  QApplication::processEvents();
  ActionNamed("壊れた項目")->trigger();
  QApplication::processEvents();
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Prompt, ErrorDescription(errInvalidCall));

  std::vector<int16_t> modes;
  form->Events.QueryUnload = [&](int16_t&, int16_t mode) { modes.push_back(mode); };
  form->Show();
  ActionNamed("閉じる(&C)\tAlt+F4")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(modes, std::vector<int16_t>{0});
  EXPECT_FALSE(form->Visible());
}

TEST_F(TrayIconTest, WithoutATrayOrAWindowNothingBreaks) {
  // The offscreen platform has no system tray.
  EXPECT_FALSE(TrayIcon().Visible());
  TrayIcon().SetToolTip("12:00:00");
  EXPECT_EQ(TrayIcon().ToolTip(), "12:00:00");

  form.reset();
  EXPECT_EQ(TrayIcon().Window(), 0);
  QApplication::processEvents();
  EXPECT_TRUE(Shown().empty());
  TrayIcon().SetWindow(424242);
  EXPECT_EQ(TrayIcon().Window(), 0);
}

}  // namespace
