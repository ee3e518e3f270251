#include "clock/widgets/clsCommonDialog1.h"

#include <gtest/gtest.h>

#include "platform/Services.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/fake/ScriptedCommonDialogs.h"

using namespace platform;
using namespace std::string_literals;

namespace {

struct CommonDialogTest : testing::Test {
  void SetUp() override {
    owner = Controls().CreateForm(FormStyle{"frmSetUp", "設定", vbFixedDialog, true, true});
    StdFont font;
    font.Name = "IPAGothic";
    font.Size = 12;
    owner->SetFont(font);
    dialog.SetForm(owner.get());
  }
  const OpenFileNameInfo& LastFileCall() const { return dialogs.FileCalls.back().Info; }

  ScriptedCommonDialogs dialogs;
  RecordingMessageBox messages;
  std::unique_ptr<IForm> owner;
  clsCommonDialog1 dialog;
};

TEST_F(CommonDialogTest, FilterBarsBecomeNulsAndTheListEndsWithTwoNuls) {
  EXPECT_EQ(dialog.Filter(), "All Files (*.*)\0*.*\0"s);
  dialog.SetFilter("A|*.a|B|*.b");
  EXPECT_EQ(dialog.Filter(), "A\0*.a\0B\0*.b\0"s);
  dialog.SetFilter("A\0*.a\0"s);
  EXPECT_EQ(dialog.Filter(), "A\0*.a\0"s);
  dialog.SetFilter("Wave File (*.WAV) | *.WAV");
  EXPECT_EQ(dialog.Filter(), "Wave File (*.WAV) \0 *.WAV\0"s);
  dialog.ShowOpen();
  EXPECT_EQ(LastFileCall().lpstrFilter, "Wave File (*.WAV) \0 *.WAV\0\0"s);
}

TEST_F(CommonDialogTest, TheFileDialogGetsTheCallersSettingsAndFreshBuffers) {
  dialog.SetDialogTitle("HTML ヘルプファイル名の選択");
  dialog.SetFlags(2101252);
  dialog.SetFilterIndex(2);
  dialog.SetInitDir("/opt/kelvora");
  dialog.SetDefaultExt("htm");
  dialog.ShowOpen();
  ASSERT_EQ(dialogs.FileCalls.size(), 1u);
  EXPECT_EQ(dialogs.FileCalls[0].Kind, 1);
  const OpenFileNameInfo& ofn = LastFileCall();
  EXPECT_EQ(ofn.hwndOwner, owner.get());
  EXPECT_EQ(ofn.lpstrTitle, "HTML ヘルプファイル名の選択");
  EXPECT_EQ(ofn.Flags, 2101252);
  EXPECT_EQ(ofn.nFilterIndex, 2);
  EXPECT_EQ(ofn.lpstrInitialDir, "/opt/kelvora");
  EXPECT_EQ(ofn.lpstrDefExt, "htm");
  // An empty name in the default buffer: 254 NULs and the terminating NUL.
  EXPECT_EQ(ofn.lpstrFile, std::string(255, '\0'));
  EXPECT_EQ(ofn.nMaxFile, 255);
  EXPECT_EQ(ofn.lpstrFileTitle, std::string(254, ' ') + '\0');
  EXPECT_EQ(ofn.nMaxFileTitle, 255);

  // A name longer than the buffer is cut to leave room for the NUL.
  dialog.SetMaxFileSize(5);
  dialog.SetFileName("abcdefgh");
  dialog.ShowSave();
  EXPECT_EQ(dialogs.FileCalls.back().Kind, 2);
  EXPECT_EQ(LastFileCall().lpstrFile, "abcd\0"s);
  EXPECT_EQ(LastFileCall().nMaxFile, 5);
}

TEST_F(CommonDialogTest, BufferSizesOutsideTheirRangeAreIgnored) {
  dialog.SetMaxFileSize(0);
  dialog.SetMaxFileSize(-3);
  dialog.SetMaxFileSize(2'000'000'000);
  dialog.ShowOpen();
  EXPECT_EQ(LastFileCall().nMaxFile, 255);
}

TEST_F(CommonDialogTest, CancellingEmptiesTheNameAndKeepsTheErrorCode) {
  dialog.SetFileName("/tmp/old.wav");
  dialog.ShowOpen();  // the script is empty: the user cancels
  EXPECT_TRUE(dialog.CancelError());
  EXPECT_EQ(dialog.FileName(), "");
  EXPECT_EQ(dialog.ErrNumber(), 0);

  dialogs.FileAnswers.push_back({false, "", "", FNERR_BUFFERTOOSMALL});
  dialog.ShowOpen();
  EXPECT_TRUE(dialog.CancelError());
  EXPECT_EQ(dialog.ErrNumber(), FNERR_BUFFERTOOSMALL);

  // The next dialog starts with a clean error.
  dialogs.FileAnswers.push_back({true, "/home/u/時報.wav", "時報.wav"});
  dialog.ShowOpen();
  EXPECT_FALSE(dialog.CancelError());
  EXPECT_EQ(dialog.ErrNumber(), 0);
  EXPECT_EQ(dialog.FileName(), "/home/u/時報.wav");
}

TEST_F(CommonDialogTest, ChosenNamesEndAtTwoNulsOrAtAFullBuffer) {
  dialog.SetFlags(OFN_ALLOWMULTISELECT);
  dialogs.FileAnswers.push_back({true, "/music\0a.wav\0b.wav"s, ""});
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), "/music\0a.wav\0b.wav"s);

  // A path of exactly MaxFileSize − 1 characters has one NUL after it and
  // is still the chosen name.
  dialog.SetMaxFileSize(8);
  dialogs.FileAnswers.push_back({true, "/a/b.htm", "b.htm"});
  dialog.ShowOpen();
  EXPECT_FALSE(dialog.CancelError());
  EXPECT_EQ(dialog.FileName(), "/a/b.htm");
}

TEST_F(CommonDialogTest, WithoutAnOwnerNoDialogIsShownAndTheFaultIsReported) {
  clsCommonDialog1 orphan;
  orphan.ShowOpen();
  orphan.ShowFont();
  EXPECT_TRUE(dialogs.FileCalls.empty());
  EXPECT_TRUE(dialogs.FontCalls.empty());
  ASSERT_EQ(messages.Calls.size(), 2u);
  EXPECT_NE(messages.Calls[0].Prompt.find("Number: 91"), std::string::npos);
  EXPECT_EQ(messages.Calls[0].Style, vbCritical);
}

StdFont NinePoint() {
  StdFont font;
  font.Name = "IPAPGothic";
  font.Size = 9;
  font.Bold = true;
  font.Weight = 700;
  font.Italic = true;
  return font;
}

TEST_F(CommonDialogTest, FontPointsBecomeDeviceUnitsThroughTheScreenDpi) {
  dialog.SetFont(NinePoint());
  dialog.SetColor(RGB(1, 2, 3));
  dialog.SetFlags(196865);
  dialog.SetMin(6);
  dialog.SetMax(72);
  dialog.ShowFont();
  ASSERT_EQ(dialogs.FontCalls.size(), 1u);
  const auto& call = dialogs.FontCalls[0];
  EXPECT_EQ(call.FontIn.lfHeight, -12);
  EXPECT_EQ(call.FontIn.lfWeight, 700);
  EXPECT_EQ(call.FontIn.lfItalic, 1);
  EXPECT_EQ(call.FontIn.lfCharSet, 1);
  EXPECT_EQ(call.FontIn.lfFaceName, "IPAPGothic");
  EXPECT_EQ(call.Info.iPointSize, 9);
  EXPECT_EQ(call.Info.Flags, 196865 | CF_INITTOLOGFONTSTRUCT);
  EXPECT_EQ(call.Info.rgbColors, RGB(1, 2, 3));
  EXPECT_EQ(call.Info.nFontType, BOLD_FONTTYPE | ITALIC_FONTTYPE);
  EXPECT_EQ(call.Info.nSizeMin, 6);
  EXPECT_EQ(call.Info.nSizeMax, 72);

  dialogs.Dpi = 120;
  dialog.ShowFont();
  EXPECT_EQ(dialogs.FontCalls[1].FontIn.lfHeight, -15);
}

TEST_F(CommonDialogTest, TheChosenFontAndColourComeBack) {
  dialog.SetFont(NinePoint());
  LogFont chosen;
  chosen.lfHeight = -12;
  chosen.lfWeight = 600;
  chosen.lfUnderline = 1;
  chosen.lfStrikeOut = 1;
  chosen.lfFaceName = "IPAGothic";
  dialogs.FontAnswers.push_back({true, chosen, RGB(200, 10, 20)});
  dialog.ShowFont();
  EXPECT_FALSE(dialog.CancelError());
  EXPECT_EQ(dialog.Font().Name, "IPAGothic");
  EXPECT_DOUBLE_EQ(dialog.Font().Size, 9.0);
  EXPECT_TRUE(dialog.Font().Bold);
  EXPECT_FALSE(dialog.Font().Italic);
  EXPECT_TRUE(dialog.Font().Underline);
  EXPECT_TRUE(dialog.Font().Strikethrough);
  EXPECT_EQ(dialog.Color(), RGB(200, 10, 20));

  // Weight 400 clears bold, and the heavy weight with it; an empty face
  // keeps the name; 13 pixels are 9.75 points.
  chosen.lfWeight = 400;
  chosen.lfHeight = -13;
  chosen.lfFaceName = "\0IPAPGothic"s;
  dialogs.FontAnswers.push_back({true, chosen, RGB(200, 10, 20)});
  dialog.ShowFont();
  EXPECT_FALSE(dialog.Font().Bold);
  EXPECT_EQ(dialog.Font().Weight, 400);
  EXPECT_EQ(dialog.Font().Name, "IPAGothic");
  EXPECT_DOUBLE_EQ(dialog.Font().Size, 9.75);
}

TEST_F(CommonDialogTest, TheOwnerKeepsItsFontWhateverTheUserDoes) {
  const StdFont before = owner->Font();
  dialog.SetFont(NinePoint());
  LogFont chosen;
  chosen.lfHeight = -40;
  chosen.lfFaceName = "IPAPGothic";
  dialogs.FontAnswers.push_back({true, chosen, 0});
  dialog.ShowFont();
  EXPECT_EQ(owner->Font(), before);
  dialog.ShowFont();  // cancelled
  EXPECT_EQ(owner->Font(), before);
}

TEST_F(CommonDialogTest, ACancelledOrImpossibleFontDialogChangesNothing) {
  dialog.SetFont(NinePoint());
  dialog.SetColor(RGB(9, 9, 9));
  dialogs.FontAnswers.push_back({false, {}, 0, CDERR_DIALOGFAILURE});
  dialog.ShowFont();
  EXPECT_TRUE(dialog.CancelError());
  EXPECT_EQ(dialog.ErrNumber(), CDERR_DIALOGFAILURE);
  EXPECT_EQ(dialog.Font().Name, "IPAPGothic");
  EXPECT_EQ(dialog.Color(), RGB(9, 9, 9));

  // Without a readable screen no dialog is shown and nothing changes.
  clsCommonDialog1 fresh;
  fresh.SetForm(owner.get());
  dialogs.Dpi = 0;
  fresh.ShowFont();
  EXPECT_EQ(dialogs.FontCalls.size(), 1u);
  EXPECT_FALSE(fresh.CancelError());
  EXPECT_EQ(owner->Font().Name, "IPAGothic");
}

}  // namespace
