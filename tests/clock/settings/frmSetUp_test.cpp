// The settings dialog as a window: what loading sets up, where everything
// sits, leaving it with 了解, 終了 and the close box, calling it back through
// its system menu, and the clock window's size limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "SetUpFixture.h"
#include "clock/widgets/clsTabStrip.h"

namespace {

using namespace setuptest;
using namespace platform;

TEST_F(SetUpFixture, LoadingFillsTheControlsFromTheSettingsAndSaysNothing) {
  SettingsStore::TopMost = true;
  SettingsStore::NoTestDllReg = true;
  SettingsStore::mintRows = {0, 1};
  SettingsStore::UnderRowFormat = "h:m:s";
  SettingsStore::UpperRowFormat = "GGG ee年MM月DD日 AAAA";
  SettingsStore::MoveSide = 2;
  SettingsStore::TimeSignalRepeat = true;
  SettingsStore::UsePCBuzzer = true;
  SettingsStore::WavFile = "MML:CDE";
  frmSetUp& d = Load();

  EXPECT_TRUE(messages.Calls.empty());
  EXPECT_EQ(d.Form().Caption(), "Kelvora Ver2.0");
  EXPECT_EQ(d.Label1(2).Caption(), "時計の設定メニュー  ");
  EXPECT_EQ(d.Check1(0).Value(), vbChecked);
  EXPECT_TRUE(d.Check1(0).Enabled()) << "set quietly, then usable again";
  EXPECT_EQ(d.Check1(1).Value(), vbChecked);
  EXPECT_TRUE(d.Check1(1).Enabled());
  EXPECT_EQ(d.Check1(2).Value(), vbUnchecked);
  EXPECT_EQ(d.Check1(3).Value(), vbChecked);
  EXPECT_EQ(d.Check1(4).Value(), vbChecked);
  EXPECT_EQ(d.Check1(5).Value(), vbUnchecked);
  EXPECT_EQ(d.Check1(6).Value(), vbChecked);
  EXPECT_FALSE(d.Check1(6).Enabled()) << "no PC buzzer this run";
  EXPECT_EQ(d.Text1->Text(), "MML:CDE");
  EXPECT_EQ(basMain::TimeSignalText(), "MML:CDE") << "the signal reads the field";

  // The current format first, then the presets; the positions in order.
  ASSERT_EQ(d.Combo1(0).ListCount(), 7);
  EXPECT_EQ(d.Combo1(0).List(0), "h:m:s");
  EXPECT_EQ(d.Combo1(0).List(1), "Long Time");
  EXPECT_EQ(d.Combo1(0).Text(), "h:m:s");
  EXPECT_EQ(d.Combo1(1).List(0), "GGG ee年MM月DD日 AAAA");
  EXPECT_EQ(d.Combo1(1).Text(), "GGG ee年MM月DD日 AAAA");
  ASSERT_EQ(d.Combo1(2).ListCount(), 5);
  EXPECT_EQ(d.Combo1(2).List(0), "画面上辺");
  EXPECT_EQ(d.Combo1(2).List(4), "移動しない");
  EXPECT_EQ(d.Combo1(2).ListIndex(), 2);
  EXPECT_EQ(d.Combo1(2).Style(), 2);

  // Loading changes no setting.
  EXPECT_TRUE(SettingsStore::TopMost);
  EXPECT_EQ(SettingsStore::mintRows, (std::array<int16_t, 2>{0, 1}));
  EXPECT_EQ(SettingsStore::UnderRowFormat, "h:m:s");
  EXPECT_EQ(SettingsStore::UpperRowFormat, "GGG ee年MM月DD日 AAAA");
  EXPECT_EQ(SettingsStore::MoveSide, 2);
  EXPECT_EQ(SettingsStore::WavFile, "MML:CDE");
  // The rows' boxes gave the clock its layout: only the bottom row shows.
  EXPECT_FALSE(clock->Label1(0).Visible());
  EXPECT_TRUE(clock->Label1(1).Visible());
}

TEST_F(SetUpFixture, LoadingChecksThatTheHelpCanUseQuillet) {
  // Found on the search path but not registered: asked, registered, usable.
  SettingsStore::NoTestDllReg = false;
  messages.Answers = {vbYes};
  EXPECT_TRUE(Load().mblnHTMLHelpReady);
  EXPECT_EQ(Prompts(), (std::vector<std::string>{"Quillet.dllをレジストリー登録しますか？|4",
                                                 "Quillet.dll レジストリー登録成功|0"}));
}

TEST_F(SetUpFixture, WithoutQuilletTheHelpGoesToTheBrowser) {
  SettingsStore::NoTestDllReg = false;
  const std::string path = std::getenv("KELVORA_MODULE_PATH") ? std::getenv("KELVORA_MODULE_PATH") : "";
  unsetenv("KELVORA_MODULE_PATH");
  const bool ready = Load().mblnHTMLHelpReady;
  if (!path.empty()) setenv("KELVORA_MODULE_PATH", path.c_str(), 1);
  EXPECT_FALSE(ready);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"Quillet.dll 参照可能なディレクトリー位置にありません|0"});
}

TEST_F(SetUpFixture, ThePcBuzzerBoxIsUsableWhenTheBuzzerIs) {
  basMain::mblnSpeakerReady = true;
  EXPECT_TRUE(Load().Check1(6).Enabled());
}

TEST_F(SetUpFixture, ControlsSitAtTheirDesignPlacesAndThePagesInTheTabStrip) {
  frmSetUp& d = Load();
  auto Place = [](const IControl& c) {
    return std::vector<double>{c.Left(), c.Top(), c.Width(), c.Height()};
  };
  // The inner area below the menu bar.
  EXPECT_EQ(d.Form().ScaleWidth(), 8055);
  EXPECT_EQ(d.Form().ScaleHeight(), 4815);
  EXPECT_EQ(Place(d.Command1(2)), (std::vector<double>{240, 3480, 2055, 495}));
  EXPECT_EQ(Place(d.Check1(1)), (std::vector<double>{240, 4200, 4335, 270}));
  EXPECT_EQ(Place(d.Command1(1)), (std::vector<double>{4800, 4080, 1455, 495}));
  EXPECT_EQ(Place(d.Command1(0)), (std::vector<double>{6480, 4080, 1335, 495}));
  EXPECT_EQ(Place(d.Combo1(0)), (std::vector<double>{5040, 120, 2655, 360}));
  EXPECT_EQ(Place(d.Check1(3)), (std::vector<double>{1560, 840, 1335, 375}));
  EXPECT_EQ(Place(d.Command1(3)), (std::vector<double>{240, 1560, 2055, 495}));
  EXPECT_EQ(Place(d.Combo1(2)), (std::vector<double>{6120, 1560, 1575, 360}));
  EXPECT_EQ(Place(*d.Text1), (std::vector<double>{2400, 120, 5175, 375}));
  EXPECT_EQ(Place(d.Command1(4)), (std::vector<double>{6240, 600, 1335, 495}));
  EXPECT_EQ(Place(d.Check1(5)), (std::vector<double>{4320, 1680, 3255, 375}));

  const clsTabStrip& tabs = *d.mcTabStrip;
  ASSERT_EQ(tabs.Count(), 3);
  EXPECT_EQ(tabs.Tab(0).Caption, "表示設定");
  EXPECT_EQ(tabs.Tab(1).AccelKey, "S");
  for (int16_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Place(d.Frame1(i)), (std::vector<double>{static_cast<double>(tabs.ClientLeft()),
                                                       static_cast<double>(tabs.ClientTop()),
                                                       static_cast<double>(tabs.ClientWidth()),
                                                       static_cast<double>(tabs.ClientHeight())}));
  }
  // Everything of the pages fits their frame.
  EXPECT_LE(d.Combo1(0).Left() + d.Combo1(0).Width(), d.Frame1(0).Width());
  EXPECT_LE(d.Command1(3).Top() + d.Command1(3).Height(), d.Frame1(0).Height());
  EXPECT_LE(d.Text1->Left() + d.Text1->Width(), d.Frame1(1).Width());
}

TEST_F(SetUpFixture, OnlyTheSelectedTabsPageShowsAndTakesInput) {
  frmSetUp& d = Load();
  EXPECT_TRUE(d.Frame1(0).Visible());
  EXPECT_TRUE(d.Frame1(0).Enabled());
  EXPECT_FALSE(d.Frame1(1).Visible());
  EXPECT_FALSE(d.Frame1(1).Enabled());

  // Alt+S clicks the strip's button for the second tab.
  d.Command1(7).SetValue(true);
  EXPECT_EQ(d.mcTabStrip->SelectedIndex(), 1);
  EXPECT_FALSE(d.Frame1(0).Visible());
  EXPECT_TRUE(d.Frame1(1).Visible());
  EXPECT_TRUE(d.Frame1(1).Enabled());
  d.Command1(6).SetValue(true);
  EXPECT_TRUE(d.Frame1(0).Visible());
  EXPECT_FALSE(d.Frame1(1).Visible());
}

TEST_F(SetUpFixture, TheCloseBoxParksTheOpenDialogAndTheProgramGoesOn) {
  frmSetUp& d = Load();
  basMain::MoveOffScreen(d.Form());
  basMain::AddSettingsMenuItem(program);
  d.Form().Show();
  EXPECT_EQ(SystemMenuTexts(), (std::vector<std::string>{"元のサイズに戻す(&R)", "サイズ変更(&S)", "最小化(&N)",
                                                         "最大化(&X)", "-", "閉じる(&C)\tAlt+F4", "-",
                                                         "設定(&O)"}));

  // "設定(&O)" from the system menu brings the dialog on screen, with the
  // standard menu.
  SendMessage(d.Form().hWnd(), WM_SYSCOMMAND, 512, 0);
  EXPECT_TRUE(basMain::mblnSetUpOpen);
  EXPECT_GE(d.Form().Left(), 0);
  EXPECT_GE(d.Form().Top(), 0);
  EXPECT_EQ(SystemMenuTexts().back(), "閉じる(&C)\tAlt+F4");

  // Edits that only 了解 or 終了 take over.
  d.Text1->SetText("MML:GAB");
  Click(0);
  messages.Calls.clear();

  SendMessage(d.Form().hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(basMain::mblnSetUpOpen);
  EXPECT_TRUE(d.Form().Visible()) << "parked, not hidden: the taskbar entry stays";
  EXPECT_EQ(d.Form().Left(), -d.Form().Width());
  EXPECT_EQ(d.Form().Top(), -d.Form().Height());
  EXPECT_EQ(SystemMenuTexts().back(), "設定(&O)");
  EXPECT_EQ(SettingsStore::WavFile, "");
  EXPECT_FALSE(SettingsStore::TopMost);
  EXPECT_FALSE(clock->mblnUnloaded);
  EXPECT_EQ(program.Clock(), clock);
  EXPECT_TRUE(messages.Calls.empty());
}

TEST_F(SetUpFixture, TopMostIsTakenOverOnlyWhenTheDialogIsLeft) {
  frmSetUp& d = Load();
  basMain::OpenSettingsDialog(program);
  Click(0);
  EXPECT_EQ(Prompts(), std::vector<std::string>{"この設定は、設定メニュー画面を閉じた後で有効になります|0"});
  EXPECT_FALSE(SettingsStore::TopMost);
  EXPECT_FALSE(clock->Form().TopMost());

  d.Text1->SetText("MML:CDEFG");
  d.Command1(1).SetValue(true);  // 了解
  EXPECT_TRUE(SettingsStore::TopMost);
  // The state goes to the clock at once, not to the parked dialog.
  EXPECT_TRUE(clock->Form().TopMost());
  EXPECT_FALSE(d.Form().TopMost());
  EXPECT_FALSE(basMain::mblnSetUpOpen);
  EXPECT_EQ(SettingsStore::WavFile, "MML:CDEFG");
  EXPECT_EQ(d.Form().Left(), -d.Form().Width()) << "parked";
  EXPECT_EQ(SystemMenuTexts().back(), "設定(&O)");

  // Unchecking takes effect at once and says nothing.
  messages.Calls.clear();
  basMain::OpenSettingsDialog(program);
  Click(0);
  EXPECT_FALSE(SettingsStore::TopMost);
  EXPECT_TRUE(messages.Calls.empty());
  d.Command1(1).SetValue(true);
  EXPECT_FALSE(clock->Form().TopMost());
}

TEST_F(SetUpFixture, EndingStoresTheSignalTextAndUnloadsTheClock) {
  frmSetUp& d = Load();
  basMain::OpenSettingsDialog(program);
  d.Text1->SetText("/no/such.wav");
  d.Command1(0).SetValue(true);  // 終了
  EXPECT_EQ(SettingsStore::WavFile, "/no/such.wav");
  EXPECT_FALSE(d.Form().Visible());
  EXPECT_TRUE(clock->mblnUnloaded) << "the clock saved the settings";
  EXPECT_EQ(program.Clock(), nullptr);
  EXPECT_FALSE(basMain::gfncTimeSignalText) << "the signal no longer reads the field";
}

TEST_F(SetUpFixture, ClosingTheParkedDialogEndsTheProgram) {
  frmSetUp& d = Load();
  d.Form().Show();
  SendMessage(d.Form().hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(d.Form().Visible());
  EXPECT_TRUE(clock->mblnUnloaded);
}

TEST_F(SetUpFixture, TheClockWindowKeepsWithinTheWorkArea) {
  frmSetUp& d = Load();
  const frmSetUp::WorkArea& area = d.mudtWorkArea;
  ASSERT_GT(area.Width, 0);
  EXPECT_EQ(d.mlngMinWidth, std::lround(area.Width * 0.1));
  EXPECT_EQ(d.mlngMinHeight, std::lround(area.Height * 0.05));

  MINMAXINFO info;
  SendMessage(clock->Form().hWnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, d.mlngMinWidth);
  EXPECT_EQ(info.ptMinTrackSize.y, d.mlngMinHeight);
  EXPECT_EQ(info.ptMaxTrackSize.x, area.Width);
  EXPECT_EQ(info.ptMaxSize.y, area.Height);
  EXPECT_EQ(info.ptMaxPosition.x, area.Left);

  // The real window follows.
  const double px = Screen().TwipsPerPixelX(), py = Screen().TwipsPerPixelY();
  clock->Form().Move(0, 0, 15, 15);
  EXPECT_EQ(clock->Form().Width(), d.mlngMinWidth * px);
  EXPECT_EQ(clock->Form().Height(), d.mlngMinHeight * py);
  clock->Form().Move(0, 0, 1e6, 1e6);
  EXPECT_EQ(clock->Form().Width(), area.Width * px);
  EXPECT_EQ(clock->Form().Height(), area.Height * py);
}

TEST_F(SetUpFixture, TheMenuBarCopiesTheTime) {
  frmSetUp& d = Load();
  ASSERT_TRUE(d.mnuCopy1->Click);
  EXPECT_EQ(d.mnuCopy1->Caption(), "クリップボードへコピー(&C)");
  EXPECT_EQ(d.mnuHelp->Caption(), "ヘルプ(&H)");
  EXPECT_EQ(d.mnuHelp1->Caption(), "Kelvora ヘルプ(&M)");
  EXPECT_EQ(d.mnuLine1->Caption(), "-");
  EXPECT_EQ(d.mnuVer->Caption(), "バージョン情報(&A)");
  d.mnuCopy1->Click();
  EXPECT_EQ(clipboard.Text, "月曜日 12/07 09:05:03\r\n");
}

}  // namespace
