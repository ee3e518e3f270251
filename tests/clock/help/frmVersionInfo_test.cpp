#include "clock/help/frmVersionInfo.h"

#include <gtest/gtest.h>

#include <vector>

#include "clock/core/ProgramVersion.h"
#include "platform/Services.h"
#include "platform/fake/MemoryClipboard.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/fake/RecordingProcessStarter.h"
#include "platform/fake/RecordingShell.h"
#include "platform/fake/RecordingPopupMenu.h"

using namespace platform;

namespace {

TEST(VersionInfoTexts, TheVersionLinePadsTheMinorNumberToTwoDigits) {
  EXPECT_EQ(frmVersionInfo::VersionLine(2, 3, 26), "Version :  2.03.00.26");
  EXPECT_EQ(frmVersionInfo::VersionLine(10, 12, 0), "Version :  10.12.00.0");
}

TEST(VersionInfoTexts, CommentsSplitAtTheFirstColon) {
  using Split = std::pair<std::string, std::string>;
  EXPECT_EQ(frmVersionInfo::MailCaptionAndAddress("サポート窓口:  help@kelvora.example "),
            Split("サポート窓口:", "help@kelvora.example"));
  EXPECT_EQ(frmVersionInfo::MailCaptionAndAddress("Mail: a:b@example.org"), Split("Mail:", "a:b@example.org"));
  EXPECT_EQ(frmVersionInfo::MailCaptionAndAddress("  help@kelvora.example  "), Split("", "help@kelvora.example"));
}

struct VersionInfoTest : testing::Test {
  void SetUp() override { box.Form_Load(); }
  ILabel& Address() { return box.Label1(1); }
  // A press and a release of a button on the address, the release at x, y
  // twips from its corner.
  void PressAndRelease(int16_t button, double x, double y) {
    box.Label1_MouseDown(1, button, 0, 15, 15);
    box.Label1_MouseUp(1, button, 0, x, y);
  }

  RecordingShell shell;
  RecordingPopupMenu menus;
  MemoryClipboard clipboard;
  RecordingMessageBox messages;
  RecordingProcessStarter starter;
  frmVersionInfo box;
};

TEST_F(VersionInfoTest, TheBoxShowsTitleVersionProductAndTheAddressAfterItsCaption) {
  const auto [caption, address] = frmVersionInfo::MailCaptionAndAddress(ProgramVersion::Comments);
  EXPECT_EQ(box.Form().Caption(), "Kelvora のバージョン情報");
  EXPECT_EQ(box.Text1(0).Text(), "Kelvora");
  EXPECT_EQ(box.Text1(1).Text(),
            frmVersionInfo::VersionLine(ProgramVersion::Major, ProgramVersion::Minor, ProgramVersion::Revision));
  EXPECT_EQ(box.Text1(1).Text().substr(0, 15), "Version :  2.00");
  EXPECT_EQ(box.Text1(2).Text(),
            std::string("ProductName : Kelvora\r\nEXEName : Kelvora\r\n") + ProgramVersion::LegalCopyright);
  EXPECT_TRUE(box.Text1(1).Locked());
  EXPECT_TRUE(box.Text1(2).Locked());
  EXPECT_EQ(box.Label1(0).Caption(), caption);
  EXPECT_EQ(Address().Caption(), address);
  EXPECT_NE(address.find('@'), std::string::npos);
  EXPECT_EQ(box.Label1(2).Caption(), "");
  EXPECT_DOUBLE_EQ(Address().Left(), box.Label1(0).Left() + box.Label1(0).Width());
  EXPECT_FALSE(box.lblDisclaimer->Caption().empty());
}

TEST_F(VersionInfoTest, ALeftClickOnTheAddressWritesAMail) {
  PressAndRelease(vbLeftButton, 30, 30);
  ASSERT_EQ(shell.Opened.size(), 1u);
  EXPECT_EQ(shell.Opened[0], "mailto:" + Address().Caption());
  EXPECT_TRUE(menus.Shown.empty());
}

TEST_F(VersionInfoTest, APressReleasedOutsideTheAddressDoesNothing) {
  PressAndRelease(vbLeftButton, Address().Width() + 15, 30);
  PressAndRelease(vbLeftButton, 30, -15);
  PressAndRelease(vbRightButton, -1, 30);
  EXPECT_TRUE(shell.Opened.empty());
  EXPECT_TRUE(menus.Shown.empty());
}

TEST_F(VersionInfoTest, ARightClickOffersOpenAndCopyOfExactlyTheAddress) {
  menus.Choose = "mnupCopy";
  clipboard.Text = "old";
  PressAndRelease(vbRightButton, 30, 30);
  ASSERT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(menus.Shown[0], (std::vector<std::string>{"開く(&O)", "-", "ショートカットのコピー(&C)"}));
  EXPECT_EQ(clipboard.Text, Address().Caption());
  EXPECT_TRUE(shell.Opened.empty());

  menus.Choose = "mnupOpen";
  PressAndRelease(vbRightButton, 30, 30);
  EXPECT_EQ(shell.Opened, (std::vector<std::string>{"mailto:" + Address().Caption()}));

  // A middle press keeps the last left/right choice; the caption and the
  // spare label react to nothing.
  menus.Choose.clear();
  box.Label1_MouseDown(1, vbMiddleButton, 0, 15, 15);
  box.Label1_MouseUp(1, vbMiddleButton, 0, 15, 15);
  EXPECT_EQ(menus.Shown.size(), 3u);
  for (int16_t index : {0, 2}) {
    box.Label1_MouseDown(index, vbLeftButton, 0, 0, 0);
    box.Label1_MouseUp(index, vbLeftButton, 0, 0, 0);
  }
  EXPECT_EQ(shell.Opened.size(), 1u);
  EXPECT_EQ(menus.Shown.size(), 3u);
}

TEST_F(VersionInfoTest, SystemInformationStartsTheFirstInstalledToolOrSaysThereIsNone) {
  std::string value = "left over";
  EXPECT_FALSE(frmVersionInfo::GetKeyValue(static_cast<int32_t>(0x80000002u), "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                           "PATH", value));
  EXPECT_EQ(value, "");

  box.cmdSysInfo_Click();
  ASSERT_EQ(messages.Calls.size(), 1u);
  EXPECT_EQ(messages.Calls[0].Prompt, "システム情報を表示できません");
  EXPECT_EQ(messages.Calls[0].Style, vbOKOnly);
  EXPECT_EQ(messages.Calls[0].Title, "Kelvora");

  starter.Installed = {"gnome-system-monitor", "kinfocenter"};
  box.cmdSysInfo_Click();
  ASSERT_EQ(starter.Started.size(), 1u);
  EXPECT_EQ(starter.Started[0].Program, "kinfocenter");
  EXPECT_TRUE(starter.Started[0].Arguments.empty());
  EXPECT_EQ(messages.Calls.size(), 1u);
}

TEST_F(VersionInfoTest, OkClosesTheBox) {
  box.Form().Show();
  box.cmdOK_Click();
  EXPECT_TRUE(box.mblnUnloaded);
  EXPECT_FALSE(box.Form().Visible());
}

// The icon's place, pixel by pixel, and how many of its pixels differ from
// the button face it stands on.
std::vector<OleColor> IconPixels(const IPictureBox& icon, int* drawn) {
  std::vector<OleColor> pixels;
  *drawn = 0;
  const OleColor face = GetSysColor(COLOR_BTNFACE);
  for (int32_t y = 0; y < static_cast<int32_t>(icon.Height() / 15); ++y) {
    for (int32_t x = 0; x < static_cast<int32_t>(icon.Width() / 15); ++x) {
      pixels.push_back(icon.GetPixel(x, y));
      if (pixels.back() != face) ++*drawn;
    }
  }
  return pixels;
}

// Faults caught: the box never reads the clock's icon (a wrong or dropped
// file name, an error swallowed), or reads it but draws something else.
TEST(VersionInfoIcon, TheClocksIconIsShownAsItsFileHoldsItAndAMissingOneLeavesItsPlaceEmpty) {
  const std::string file = KV_HELP_DIR "/../desktop/kelvora-64.png";  // the clock's icon
  frmVersionInfo box(file);
  box.Form_Load();
  auto form = Controls().CreateForm(FormStyle{"frmIconReference", "", vbSizable, false, false});
  auto reference = Controls().CreatePictureBox(*form, "picReference");
  reference->SetAutoSize(true);
  reference->SetBackColor(SystemColor(COLOR_BTNFACE));
  reference->LoadPicture(file);
  EXPECT_EQ(box.picIcon->Width(), reference->Width());
  EXPECT_EQ(box.picIcon->Height(), reference->Height());
  int drawn = 0, referenceDrawn = 0;
  const std::vector<OleColor> shown = IconPixels(*box.picIcon, &drawn);
  EXPECT_EQ(shown, IconPixels(*reference, &referenceDrawn));
  EXPECT_GT(drawn, static_cast<int>(shown.size()) / 4) << "the icon draws most of its place";

  frmVersionInfo missing("/nonexistent/kelvora.png");
  missing.Form_Load();
  EXPECT_EQ(missing.Text1(0).Text(), "Kelvora") << "the box loads on";
  IconPixels(*missing.picIcon, &drawn);
  EXPECT_EQ(drawn, 0);
}

}  // namespace
