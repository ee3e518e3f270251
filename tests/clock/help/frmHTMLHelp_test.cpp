// The help window with the real viewer component on small help pages:
// loading, links and the way back, the link popup, the option menus, the
// resize rule and the two ways a load can fail.
#include "clock/help/frmHTMLHelp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "clock/help/basComponents.h"
#include "platform/Application.h"
#include "platform/com/ComRegistry.h"
#include "platform/com/ComRuntime.h"
#include "platform/Services.h"
#include "platform/fake/MemoryClipboard.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/fake/RecordingPopupMenu.h"
#include "platform/fake/RecordingShell.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

const char* const kPage1 =
    "<HTML><BODY>\n"
    "<A NAME=\"top\"></A><H1>Page one</H1>\n"
    "<A HREF=\"#first\">to first</A> <A HREF=\"page2.htm\">to page two</A><BR>\n"
    "<A NAME=\"first\"></A><H2>First</H2>Text of the first part.<BR>\n"
    "<A NAME=\"second\"></A><H2>Second</H2>Text of the second part.<BR>\n"
    "<A NAME=\"context\"></A><H2>Contents</H2>The contents.<BR>\n"
    "</BODY></HTML>\n";
const char* const kPage2 = "<HTML><BODY><H1>Page two</H1>Second page.</BODY></HTML>\n";

fs::path TestFolder() {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  fs::path folder = fs::path(tmp ? tmp : fs::temp_directory_path().string()) / "helpwin";
  fs::create_directories(folder);
  return folder;
}

void WriteFile(const fs::path& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

struct HelpWindow : testing::Test {
  void SetUp() override {
    basComponents::CallDllRegisterServer(basComponents::kQuilletFile);
    WriteFile(TestFolder() / "page1.htm", kPage1);
    WriteFile(TestFolder() / "page2.htm", kPage2);
    page1 = (TestFolder() / "page1.htm").string();
    page2 = (TestFolder() / "page2.htm").string();
  }
  void TearDown() override {
    help.reset();
    com::CoFreeUnusedLibraries();
  }
  // A help window loaded on the first page.
  void Load(const std::string& file) {
    help = std::make_unique<frmHTMLHelp>();
    help->SetHTMLHelpFile(file);
    help->Form_Load();
  }
  Quillet::_clsHTML& Html() { return help->Viewer()->Object(); }
  void Click(const std::string& link) {
    int16_t ret = 0;
    help->mcHTML_LinkClick(link, ret);
  }
  std::string Stored(const std::string& key) { return settings.Values[{"Kelvora", "Settings", key}]; }
  std::vector<bool> Checks(ControlArray<IMenuItem>& items) {
    return {items(0).Checked(), items(1).Checked(), items(2).Checked()};
  }

  MemorySettingsStore settings;
  MemoryClipboard clipboard;
  RecordingMessageBox box;
  RecordingShell shell;
  RecordingPopupMenu menus;
  std::string page1, page2;
  std::unique_ptr<frmHTMLHelp> help;
};

TEST_F(HelpWindow, LoadsWithItsCaptionButtonsAndMenusInTheirDesignState) {
  Load(page1);
  ASSERT_TRUE(help->Loaded());
  EXPECT_TRUE(box.Calls.empty());
  EXPECT_EQ(help->Form().Caption(), "Kelvora ヘルプ");
  const char* const captions[] = {"目次(&C)", "検索(&S)", "戻る(&B)", "<<(&<)", ">>(&>)", "オプション(&O)", "終了(&X)"};
  for (int16_t i = 0; i < 7; ++i) {
    EXPECT_EQ(help->Command1(i).Caption(), captions[i]);
    EXPECT_EQ(help->Command1(i).Enabled(), i == 0 || i == 2 || i == 6) << i;
  }
  EXPECT_EQ(help->mnuFile->Caption(), "ファイル(&F)");
  EXPECT_EQ(help->mnuOpen->Caption(), "標準ブラウザーで開く(&O)");
  EXPECT_EQ(help->mnuEnd->Caption(), "ヘルプの終了(&X)");
  EXPECT_EQ(help->mnuCopy->Caption(), "コピー(&C)");
  EXPECT_EQ(help->mnuOp1->Caption(), "ヘルプの表示(&K)");
  EXPECT_EQ(help->mnuOpFont(2).Caption(), "大きく(&L)");
  EXPECT_EQ(help->mnuLinkNoConfirm->Caption(), "特殊リンクの実行確認をしない");
  EXPECT_EQ(help->mnuVer->Caption(), "バージョン情報(&V)");
  EXPECT_EQ(Checks(help->mnuOpDisp), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(Checks(help->mnuOpFont), (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(help->mnuLinkNoConfirm->Checked());
  EXPECT_NE(Html().PlaneText().find("Page one"), std::string::npos);

  // Ctrl+C's item copies the page as plain text.
  help->mnuCopy_Click();
  EXPECT_EQ(clipboard.Text, Html().PlaneText());
}

TEST_F(HelpWindow, SpecialLinksAskFirstWhateverTheirCaseButHttpsDoesNot) {
  Load(page1);
  box.Answers = {vbNo};
  Click("HTTP://example.org/");
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Prompt, "HTTP://example.org/\r Internet URL へのハイパーリンクです。実行しますか？");
  EXPECT_EQ(box.Calls[0].Style, vbYesNo);
  EXPECT_EQ(box.Calls[0].Title, "QuilletHelp");
  // Refused: nothing happens.
  EXPECT_TRUE(shell.Opened.empty());
  EXPECT_EQ(help->LastLink(), "");
  EXPECT_EQ(Html().HtmlFile(), page1);

  box.Answers = {vbYes};
  Click("Mailto:someone@example.org");
  EXPECT_EQ(box.Calls.size(), 2u);
  EXPECT_EQ(shell.Opened, std::vector<std::string>{"Mailto:someone@example.org"});
  EXPECT_EQ(Html().HtmlFile(), page1);

  Click("https://example.org/");
  EXPECT_EQ(box.Calls.size(), 2u);
  EXPECT_EQ(shell.Opened.back(), "https://example.org/");

  // Without confirmation the link goes straight to the viewer.
  help->mnuLinkNoConfirm_Click();
  EXPECT_TRUE(help->mnuLinkNoConfirm->Checked());
  Click("ftp://example.org/file");
  EXPECT_EQ(box.Calls.size(), 2u);
  EXPECT_EQ(shell.Opened.back(), "ftp://example.org/file");
}

TEST_F(HelpWindow, TheWayBackKeepsOneStep) {
  Load(page1);
  Click("#first");
  EXPECT_EQ(Html().CurName(), "#first");
  EXPECT_EQ(help->LastLink(), "#");
  Click("#second");
  EXPECT_EQ(help->LastLink(), "#first");
  help->Command1_Click(2);
  EXPECT_EQ(Html().CurName(), "#first");
  help->Command1_Click(2);
  EXPECT_EQ(Html().CurName(), "#first");

  // 目次 jumps to "context" without touching the way back.
  help->Command1_Click(0);
  EXPECT_EQ(Html().CurName(), "#context");
  EXPECT_EQ(help->LastLink(), "#first");

  Click("page2.htm");
  EXPECT_EQ(Html().HtmlFile(), page2);
  EXPECT_EQ(help->LastLink(), page1);
  EXPECT_NE(Html().PlaneText().find("Second page."), std::string::npos);
  help->Command1_Click(2);
  EXPECT_EQ(Html().HtmlFile(), page1);
  EXPECT_TRUE(box.Calls.empty());
}

TEST_F(HelpWindow, PagesThatCannotBeOpenedAreSaidSoAndTheWindowStays) {
  Load(page1);
  Click("missing.htm");
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Prompt, "missing.htm を開けません");
  EXPECT_EQ(box.Calls[0].Style, vbCritical);
  EXPECT_EQ(box.Calls[0].Title, "QuilletHelp");
  EXPECT_EQ(Html().HtmlFile(), page1);
  EXPECT_TRUE(help->Loaded());

  // The page to go back to has gone meanwhile.
  Click("page2.htm");
  fs::remove(page1);
  help->Command1_Click(2);
  ASSERT_EQ(box.Calls.size(), 2u);
  EXPECT_EQ(box.Calls[1].Prompt, page1 + " を開けません");
  EXPECT_EQ(Html().HtmlFile(), page2);
}

TEST_F(HelpWindow, ARightClickOnALinkOffersToCopyItAnchorsWithTheirFile) {
  Load(page1);
  menus.Choose = "mnuPuCopy";
  // A right press somewhere on the first link of the page, found by trying.
  platform::IPictureBox& canvas = *help->Picture3;
  for (double y = 15; y < 1500 && menus.Shown.empty(); y += 30) {
    for (double x = 15; x < 3000 && menus.Shown.empty(); x += 60) {
      canvas.MouseMove(0, 0, x, y);
      canvas.MouseDown(vbRightButton, 0, x, y);
    }
  }
  ASSERT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(menus.Shown[0], std::vector<std::string>{"ショートカットのコピー(&C)"});
  EXPECT_EQ(clipboard.Text, page1 + "#first");

  help->mcHTML_LinkRightClick("page2.htm");
  EXPECT_EQ(clipboard.Text, "page2.htm");
}

TEST_F(HelpWindow, OptionMenusActOnlyOnAnotherChoice) {
  Load(page1);
  int displays = 0;
  help->Viewer()->DispDone = [&displays] { ++displays; };

  help->mnuOpDisp_Click(0);
  help->mnuOpFont_Click(1);
  EXPECT_EQ(displays, 0);
  EXPECT_FALSE(help->Form().TopMost());

  help->mnuOpDisp_Click(1);
  EXPECT_TRUE(help->Form().TopMost());
  EXPECT_EQ(Checks(help->mnuOpDisp), (std::vector<bool>{false, true, false}));
  help->mnuOpDisp_Click(2);
  EXPECT_FALSE(help->Form().TopMost());
  EXPECT_EQ(Checks(help->mnuOpDisp), (std::vector<bool>{false, false, true}));

  const double normalHeight = help->Picture3->Height();
  help->mnuOpFont_Click(2);
  EXPECT_EQ(displays, 1);
  EXPECT_EQ(Checks(help->mnuOpFont), (std::vector<bool>{false, false, true}));
  EXPECT_GT(help->Picture3->Height(), normalHeight);
}

TEST_F(HelpWindow, ThePageFillsTheWindowButATinyWindowLeavesItsSize) {
  Load(page1);
  IForm& form = help->Form();
  const double cl = help->Picture1->Left(), ct = help->Picture1->Top();
  const double menuBar = form.Height() - form.ScaleHeight();
  // Wide enough for the button row in one line.
  form.Move(form.Left(), form.Top(), 10500, 7200 + menuBar);
  help->Form_Resize();
  EXPECT_DOUBLE_EQ(help->Picture1->Width(), 10500 - 2 * cl - help->VScroll1->Width());
  EXPECT_DOUBLE_EQ(help->Picture1->Height(), 7200 - ct - cl);
  EXPECT_DOUBLE_EQ(help->VScroll1->Left(), help->Picture1->Left() + help->Picture1->Width());

  form.Move(form.Left(), form.Top(), 300, 300 + menuBar);
  help->Form_Resize();
  EXPECT_DOUBLE_EQ(help->Picture1->Width(), 10500 - 2 * cl - help->VScroll1->Width());
  EXPECT_DOUBLE_EQ(help->Picture1->Height(), 7200 - ct - cl);
  EXPECT_DOUBLE_EQ(help->Picture1->Left(), cl);
}

TEST_F(HelpWindow, ANarrowWindowWrapsTheButtonRowAboveThePage) {
  Load(page1);
  IForm& form = help->Form();
  const double menuBar = form.Height() - form.ScaleHeight();
  for (double width : {9600.0, 6000.0, 3000.0, 1500.0}) {
    SCOPED_TRACE(width);
    form.Move(form.Left(), form.Top(), width, 7200 + menuBar);
    help->Form_Resize();
    double lowest = 0;
    for (int16_t i = 0; i < 7; ++i) {
      const ICommandButton& b = help->Command1(i);
      EXPECT_LE(b.Left() + b.Width(), form.ScaleWidth()) << "button " << i << " is whole";
      if (i > 0) {
        const ICommandButton& a = help->Command1(static_cast<int16_t>(i - 1));
        EXPECT_TRUE(b.Left() >= a.Left() + a.Width() || b.Top() >= a.Top() + a.Height()) << "button " << i;
      }
      lowest = std::max(lowest, b.Top() + b.Height());
    }
    EXPECT_GT(help->Picture1->Top(), lowest) << "the page starts below the buttons";
    EXPECT_DOUBLE_EQ(help->VScroll1->Top(), help->Picture1->Top());
    EXPECT_DOUBLE_EQ(help->Picture1->Top() + help->Picture1->Height(), 7200 - help->Picture1->Left());
  }
}

TEST_F(HelpWindow, UnloadKeepsThePlacementAndTheNextLoadStartsAfresh) {
  Load(page1);
  IForm& form = help->Form();
  form.Move(1500, 1200, 12000, 9000);
  help->mnuOpDisp_Click(1);
  Click("#second");
  help->Command1_Click(6);
  EXPECT_FALSE(help->Loaded());
  EXPECT_EQ(help->Viewer(), nullptr);
  EXPECT_EQ(Stored("HelpWidth"), "12000");
  EXPECT_EQ(Stored("HelpLeft"), "1500");

  form.Move(0, 0, 9600, 7800);
  help->Show();
  ASSERT_TRUE(help->Loaded());
  EXPECT_DOUBLE_EQ(form.Left(), 1500);
  EXPECT_DOUBLE_EQ(form.Width(), 12000);
  EXPECT_EQ(help->LastLink(), "");
  EXPECT_EQ(Html().CurName(), "#");
  EXPECT_FALSE(form.TopMost());
  EXPECT_EQ(Checks(help->mnuOpDisp), (std::vector<bool>{true, false, false}));
  help->Unload();
}

// A settings store whose file cannot be written.
struct UnwritableSettings final : ISettingsStore {
  UnwritableSettings() : install(*this) {}
  std::optional<std::string> GetSetting(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void SaveSetting(const std::string&, const std::string&, const std::string&, const std::string&) override {
    throw RuntimeError(errPathFileAccess, "設定ファイル Kelvora.ini に書き込めませんでした。", "Kelvora");
  }
  ScopedService<ISettingsStore> install;
};

TEST_F(HelpWindow, APlacementThatCannotBeStoredIsReportedAndTheWindowStillCloses) {
  Load(page1);
  UnwritableSettings unwritable;
  help->Command1_Click(6);
  EXPECT_FALSE(help->Loaded());
  EXPECT_EQ(help->Viewer(), nullptr);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_NE(box.Calls[0].Prompt.find("書き込めませんでした"), std::string::npos);
}

TEST_F(HelpWindow, AMissingHelpFileIsNamedAndTheWindowCloses) {
  const std::string missing = (TestFolder() / "nosuch.htm").string();
  Load(missing);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Prompt, "指定された HTML ファイル " + missing + " が見つかりませんでした");
  EXPECT_EQ(box.Calls[0].Style, vbCritical);
  EXPECT_EQ(box.Calls[0].Title, "QuilletHelp");
  EXPECT_FALSE(help->Loaded());
  EXPECT_EQ(help->Viewer(), nullptr);
  EXPECT_FALSE(help->Form().Visible());
}

TEST_F(HelpWindow, AFileThatIsFoundButCannotBeShownSaysWhy) {
  const std::pair<const char*, const char*> pages[] = {
      {"<HTML><HEAD><TITLE>no body</TITLE></HEAD></HTML>\n", "<BODY> タグがありません"},
      {"<HTML><BODY>big <FONT SIZE=9>text</FONT></BODY></HTML>\n", "FONT の SIZE の値 \"9\" は大きさ 1 から 7 の範囲を外れます"},
  };
  for (const auto& [text, why] : pages) {
    const std::string page = (TestFolder() / "unshowable.htm").string();
    WriteFile(page, text);
    box.Calls.clear();
    Load(page);
    ASSERT_EQ(box.Calls.size(), 1u);
    EXPECT_EQ(box.Calls[0].Prompt, "指定された HTML ファイル " + page + " を表示できません (" + why + ")");
    EXPECT_FALSE(help->Loaded());
  }
}

TEST_F(HelpWindow, WithoutTheComponentTheErrorIsShownAndTheWindowCloses) {
  fs::remove(com::ComponentRegistryPath());
  help = std::make_unique<frmHTMLHelp>();
  help->SetHTMLHelpFile(page1);
  help->Show();
  ASSERT_EQ(box.Calls.size(), 1u);
  // The number, then the runtime's description without a separator.
  EXPECT_EQ(box.Calls[0].Prompt.rfind("429ActiveX コンポーネントはオブジェクトを作成できません。", 0), 0u)
      << box.Calls[0].Prompt;
  EXPECT_EQ(box.Calls[0].Style, vbOKOnly);
  EXPECT_EQ(box.Calls[0].Title, "Kelvora");
  EXPECT_FALSE(help->Loaded());
  EXPECT_FALSE(help->Form().Visible());
}

TEST_F(HelpWindow, TheVersionBoxNamesTheComponentAndThePage) {
  Load(page1);
  help->mnuVer_Click();
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_EQ(box.Calls[0].Style, vbInformation);
  EXPECT_EQ(box.Calls[0].Title, "QuilletHelp");
  const std::string& text = box.Calls[0].Prompt;
  EXPECT_EQ(text.substr(0, 12), "QuilletHelp\n");
  EXPECT_NE(text.find("/Quillet,DLL\nDLL Version : 1,0.0.23\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n\nKelvora ヘルプ\n( " + page1 + " )"), std::string::npos) << text;
}

// A shell and a message box that run a step while they are open: the
// window closes as it does when a queued click on 終了 is handled in the
// browser's turn of the event loop, or when the program is told to end
// while a question is open.
struct ShellThatRuns final : IShell {
  ShellThatRuns() : install(*this) {}
  bool Open(const std::string& target) override {
    Opened.push_back(target);
    if (During) During();
    return true;
  }
  std::vector<std::string> Opened;
  std::function<void()> During;
  ScopedService<IShell> install;
};
struct BoxThatRuns final : IMessageBox {
  BoxThatRuns() : install(*this) {}
  int32_t Show(const std::string& prompt, int32_t, const std::string&) override {
    Prompts.push_back(prompt);
    if (During) During();
    return vbYes;
  }
  std::vector<std::string> Prompts;
  std::function<void()> During;
  ScopedService<IMessageBox> install;
};

TEST_F(HelpWindow, TheWindowClosingWhileTheViewersCodeRunsEndsNothingUnderIt) {
  const fs::path web = TestFolder() / "web.htm";
  WriteFile(web, "<HTML><BODY><A HREF=\"http://example.org/\">EXAMPLE-WEB-LINK</A> text<BR></BODY></HTML>\n");
  const com::ComponentRegistry registry = com::ReadComponentRegistry();
  const com::ClassRegistration* cls = registry.FindProgID(Quillet::kclsHTML);
  ASSERT_NE(cls, nullptr);
  const std::string module = cls->InprocServer;
  ShellThatRuns shell;
  shell.During = [this] { help->Command1_Click(6); };
  // Presses over the page until one hits the link (the window then closes).
  const auto clickTheLink = [this] {
    for (double y = 15; y < 1500 && help->Loaded(); y += 30) {
      for (double x = 15; x < 3000 && help->Loaded(); x += 60) {
        help->Picture3->MouseMove(0, 0, x, y);
        help->Picture3->MouseDown(vbLeftButton, 0, x, y);
      }
    }
  };

  // A followed web link: the window closes while the viewer hands it over.
  Load(web.string());
  ASSERT_TRUE(help->Loaded());
  help->mnuLinkNoConfirm_Click();
  clickTheLink();
  EXPECT_FALSE(help->Loaded());
  EXPECT_EQ(shell.Opened, std::vector<std::string>{"http://example.org/"});
  EXPECT_TRUE(box.Calls.empty());
  // The module goes only at the event loop's next turn.
  EXPECT_TRUE(com::IsComponentLoaded(module));
  Application::DoEvents();
  EXPECT_FALSE(com::IsComponentLoaded(module));

  // 標準ブラウザーで開く: the same inside a call of the host.
  Load(web.string());
  help->mnuOpen_Click();
  EXPECT_FALSE(help->Loaded());
  EXPECT_EQ(shell.Opened.back(), web.string());

  // The window closes while the link question is open: the answer finds no
  // viewer to follow the link with, and nothing more is said.
  shell.During = nullptr;
  Load(web.string());
  BoxThatRuns question;
  question.During = [this] { help->Unload(); };
  clickTheLink();
  EXPECT_FALSE(help->Loaded());
  ASSERT_EQ(question.Prompts.size(), 1u);
  EXPECT_NE(question.Prompts[0].find("Internet URL"), std::string::npos);
  EXPECT_EQ(shell.Opened.size(), 2u);
  Application::DoEvents();
  EXPECT_FALSE(com::IsComponentLoaded(module));
}

}  // namespace
