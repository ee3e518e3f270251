#include "clock/help/frmHTMLHelp.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "clock/core/ProgramVersion.h"
#include "clock/core/basFormPosition.h"
#include "clock/core/frmMain.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Checked.h"
#include "platform/com/ComRuntime.h"
#include "platform/Services.h"

namespace {

// Pixels of the design, in twips.
constexpr double Px(double pixels) { return pixels * 15; }

// The design: the button row above the page, the page's margin, the
// scroll bar's width and the window's first size.
constexpr double kButtonTop = Px(4), kButtonWidth = Px(86), kButtonHeight = Px(28), kButtonGap = Px(3);
constexpr double kPageLeft = Px(4), kPageTop = Px(38);
constexpr double kScrollWidth = Px(17);
constexpr double kFormWidth = Px(640), kFormHeight = Px(520);

const char* const kMessageTitle = "QuilletHelp";

const char* const kButtonCaptions[] = {"目次(&C)", "検索(&S)", "戻る(&B)", "<<(&<)", ">>(&>)", "オプション(&O)", "終了(&X)"};

// Stay-on-top flag and viewer font size of each item of the option menus.
constexpr int16_t kTopMostFlags[] = {0, -1, 0};
constexpr int16_t kFontSizes[] = {1, 0, 2};

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  for (size_t i = 0; prefix[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

// A link that leaves the help file for the browser or the mail program.
bool IsSpecialLink(const std::string& vstrHRef) {
  return StartsWithNoCase(vstrHRef, "http:") || StartsWithNoCase(vstrHRef, "ftp:") ||
         StartsWithNoCase(vstrHRef, "mailto:");
}

bool IsAnchorLink(const std::string& link) { return !link.empty() && link[0] == '#'; }

}  // namespace

frmHTMLHelp::frmHTMLHelp() {
  platform::IControlFactory& controls = platform::Controls();
  platform::FormStyle style;
  style.Name = "frmHTMLHelp";
  style.BorderStyle = platform::vbSizable;
  mForm = controls.CreateForm(style);
  CreateMenus();
  mForm->Move(0, 0, kFormWidth, kFormHeight);

  for (int16_t i = 0; i < 7; ++i) {
    auto button = controls.CreateCommandButton(*mForm, "Command1", i);
    button->SetCaption(kButtonCaptions[i]);
    button->Move(kPageLeft + i * (kButtonWidth + kButtonGap), kButtonTop, kButtonWidth, kButtonHeight);
    button->Click = [this, i] { Guarded([this, i] { Command1_Click(i); }); };
    Command1.Add(std::move(button));
  }

  // The page fills the window below the buttons; the viewer keeps it so.
  const double pageWidth = mForm->ScaleWidth() - 2 * kPageLeft - kScrollWidth;
  const double pageHeight = mForm->ScaleHeight() - kPageTop - kPageLeft;
  Picture1 = controls.CreatePictureBox(*mForm, "Picture1");
  Picture1->Move(kPageLeft, kPageTop, pageWidth, pageHeight);
  Picture3 = controls.CreatePictureBox(*Picture1, "Picture3");
  Picture3->Move(0, 0, pageWidth, pageHeight);
  Picture2 = controls.CreatePictureBox(*mForm, "Picture2");
  Picture2->SetVisible(false);
  VScroll1 = controls.CreateVScrollBar(*mForm, "VScroll1");
  VScroll1->Move(kPageLeft + pageWidth, kPageTop, kScrollWidth, pageHeight);

  mnuPu.Name = "mnuPu";
  mnuPu.Visible = false;
  mnuPu.Items = {{"mnuPuCopy", "ショートカットのコピー(&C)", [this] { Guarded([this] { mnuPuCopy_Click(); }); }}};

  mForm->Events.Resize = [this] { Guarded([this] { Form_Resize(); }); };
  mForm->Events.Unload = [this](int16_t& cancel) { Form_Unload(cancel); };
}

frmHTMLHelp::~frmHTMLHelp() {
  // The viewer holds the controls: it goes before them.
  if (mcHTML) {
    mcHTML.reset();
    platform::com::CoFreeUnusedLibraries();
  }
}

void frmHTMLHelp::CreateMenus() {
  platform::IControlFactory& controls = platform::Controls();
  const auto menu = [&](platform::IMenuItem* parent, const char* name, const char* caption) {
    platform::MenuItemStyle style;
    style.Name = name;
    style.Caption = caption;
    return controls.CreateMenuItem(*mForm, parent, style);
  };
  const auto guard = [this](std::function<void()> handler) {
    return [this, handler] { Guarded(handler); };
  };

  mnuFile = menu(nullptr, "mnuFile", "ファイル(&F)");
  mnuEdit = menu(nullptr, "mnuEdit", "編集(&E)");
  mnuOption = menu(nullptr, "mnuOption", "オプション(&O)");
  mnuHelp = menu(nullptr, "mnuHelp", "ヘルプ(&H)");

  mnuOpen = menu(mnuFile.get(), "mnuOpen", "標準ブラウザーで開く(&O)");
  mnuOpen->Click = guard([this] { mnuOpen_Click(); });
  mnuLine0 = menu(mnuFile.get(), "mnuLine0", "-");
  mnuEnd = menu(mnuFile.get(), "mnuEnd", "ヘルプの終了(&X)");
  mnuEnd->Click = guard([this] { mnuEnd_Click(); });

  platform::MenuItemStyle copy;
  copy.Name = "mnuCopy";
  copy.Caption = "コピー(&C)";
  copy.Shortcut = "Ctrl+C";
  mnuCopy = controls.CreateMenuItem(*mForm, mnuEdit.get(), copy);
  mnuCopy->Click = guard([this] { mnuCopy_Click(); });

  mnuOp1 = menu(mnuOption.get(), "mnuOp1", "ヘルプの表示(&K)");
  mnuOp2 = menu(mnuOption.get(), "mnuOp2", "文字のサイズ(&F)");
  mnuLinkNoConfirm = menu(mnuOption.get(), "mnuLinkNoConfirm", "特殊リンクの実行確認をしない");
  mnuLinkNoConfirm->Click = guard([this] { mnuLinkNoConfirm_Click(); });

  const auto radio = [&](platform::IMenuItem* parent, const char* name, int16_t index, const char* caption,
                         bool checked) {
    platform::MenuItemStyle style;
    style.Name = name;
    style.Index = index;
    style.Caption = caption;
    style.Checked = checked;
    style.RadioCheck = true;
    return controls.CreateMenuItem(*mForm, parent, style);
  };
  const char* const dispCaptions[] = {"標準(&N)", "手前に表示(&O)", "手前に表示しない(&N)"};
  const char* const fontCaptions[] = {"小さく(&S)", "標準(&N)", "大きく(&L)"};
  for (int16_t i = 0; i < 3; ++i) {
    auto disp = radio(mnuOp1.get(), "mnuOpDisp", i, dispCaptions[i], i == 0);
    disp->Click = guard([this, i] { mnuOpDisp_Click(i); });
    mnuOpDisp.Add(std::move(disp));
    auto font = radio(mnuOp2.get(), "mnuOpFont", i, fontCaptions[i], i == 1);
    font->Click = guard([this, i] { mnuOpFont_Click(i); });
    mnuOpFont.Add(std::move(font));
  }

  mnuVer = menu(mnuHelp.get(), "mnuVer", "バージョン情報(&V)");
  mnuVer->Click = guard([this] { mnuVer_Click(); });
}

void frmHTMLHelp::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const platform::RuntimeError& error) {
    basGeneral::SetBusyCursor(false);
    basGeneral::ReportError(error);
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::exception& error) {
    basGeneral::SetBusyCursor(false);
    basGeneral::ReportError(error);
  }
}

void frmHTMLHelp::Show() {
  if (mblnLoaded) {
    // Asked again while open: the window comes to the front as it is.
    if (mForm->WindowState() == platform::vbMinimized) mForm->SetWindowState(platform::vbNormal);
    mForm->Show();
    mForm->Activate();
    return;
  }
  Form_Load();
  if (!mblnLoaded) return;
  mForm->Show();
  // The keys scroll the page from the start.
  Picture3->SetFocus();
}

void frmHTMLHelp::Unload() {
  if (mblnLoaded) mForm->Unload();
}

void frmHTMLHelp::Form_Load() {
  mblnLoaded = true;
  // Every load starts from the design state.
  mstrLastLink.clear();
  mstrPopupLink.clear();
  for (int16_t i = 0; i < 3; ++i) {
    mnuOpDisp(i).SetChecked(i == 0);
    mnuOpFont(i).SetChecked(i == 1);
  }
  mnuLinkNoConfirm->SetChecked(false);
  frmMain::SetTopMost(*mForm, 0);
  for (int16_t i = 0; i < 7; ++i) Command1(i).SetEnabled(true);

  mForm->SetCaption(std::string(ProgramVersion::Title) + " ヘルプ");
  for (int16_t i : {1, 3, 4, 5}) Command1(i).SetEnabled(false);

  try {
    mcHTML = std::make_unique<Quillet::clsHTMLWithEvents>();
  } catch (const platform::RuntimeError& error) {
    platform::MessageBox().Show(std::to_string(error.Number()) + error.Description(), platform::vbOKOnly,
                                platform::Application::Title());
    Unload();
    return;
  }
  mcHTML->LinkClick = [this](const std::string& vstrHRef, int16_t& rintRet) {
    Guarded([&] { mcHTML_LinkClick(vstrHRef, rintRet); });
  };
  mcHTML->LinkRightClick = [this](const std::string& vstrHRef) {
    Guarded([&] { mcHTML_LinkRightClick(vstrHRef); });
  };
  mcHTML->DispDone = [this] { mcHTML_DispDone(); };

  Quillet::_clsHTML& html = mcHTML->Object();
  html.SetCanvas(Picture3.get());
  html.SetWorkCanvas(Picture2.get());
  html.SetVScroll(VScroll1.get());
  html.SetBackFrame(Picture1.get());
  html.SetHtmlFile(mstrHTMLHelpFile);
  html.SetEnableDispEnd(true);

  basGeneral::SetBusyCursor(true);
  const bool shown = html.DispHTML(false);
  basGeneral::SetBusyCursor(false);
  if (!shown) {
    // A file that was read but whose page stopped is named with the cause.
    const std::string why = html.DispError();
    platform::MessageBox().Show("指定された HTML ファイル " + mstrHTMLHelpFile +
                                    (why.empty() ? " が見つかりませんでした" : " を表示できません (" + why + ")"),
                                platform::vbCritical | platform::vbOKOnly, kMessageTitle);
    Unload();
    return;
  }

  basGeneral::CenterForm(*mForm);
  basFormPosition::RestoreFormPosition(*mForm, false, 0, 0, "Help");
}

double frmHTMLHelp::LayoutButtons() {
  const double SW = mForm->ScaleWidth();
  const int count = Command1.Count();
  const int perRow = std::clamp(static_cast<int>((SW - 2 * kPageLeft + kButtonGap) / (kButtonWidth + kButtonGap)), 1,
                                std::max(count, 1));
  for (int i = 0; i < count; ++i) {
    const int row = i / perRow, column = i % perRow;
    platform::ICommandButton& button = Command1(static_cast<int16_t>(i));
    const double left = kPageLeft + column * (kButtonWidth + kButtonGap);
    const double top = kButtonTop + row * (kButtonHeight + kButtonGap);
    if (button.Left() != left || button.Top() != top) button.Move(left, top, kButtonWidth, kButtonHeight);
  }
  const int rows = (count + perRow - 1) / perRow;
  return kPageTop + std::max(rows - 1, 0) * (kButtonHeight + kButtonGap);
}

void frmHTMLHelp::Form_Resize() {
  // A window too narrow for the button row wraps it, and the page starts
  // below the last row of buttons.
  const double pageTop = LayoutButtons();
  if (!mcHTML) return;
  Quillet::_clsHTML& html = mcHTML->Object();
  const double CL = html.CanvasLeft();
  const double CT = pageTop;
  const double SW = mForm->ScaleWidth();
  const double SH = mForm->ScaleHeight();
  const double VW = VScroll1->Width();
  // Sizes below 1 (a tiny window) are left to the viewer, which ignores them.
  html.Move(static_cast<int32_t>(CL), platform::checked::CLng(CT), platform::checked::CLng(SW - 2 * CL - VW),
            platform::checked::CLng(SH - CT - CL));
}

void frmHTMLHelp::Form_Unload(int16_t&) {
  if (!mblnLoaded || mblnUnloading) return;
  mblnUnloading = true;
  // A settings file that cannot be written is said so; the window still closes.
  Guarded([this] { basFormPosition::SaveFormPosition(*mForm, false, "Help"); });
  mcHTML.reset();
  platform::com::CoFreeUnusedLibraries();
  mblnLoaded = false;
  mblnUnloading = false;
}

bool frmHTMLHelp::Redisplay() {
  if (!mcHTML) return false;
  basGeneral::SetBusyCursor(true);
  const bool shown = (*mcHTML)->DispHTML(false);
  basGeneral::SetBusyCursor(false);
  return shown;
}

void frmHTMLHelp::Command1_Click(int16_t Index) {
  if (Index == 6) {
    basGeneral::SetBusyCursor(false);
    Unload();
    return;
  }
  if (!mcHTML) return;
  Quillet::_clsHTML& html = mcHTML->Object();
  switch (Index) {
    case 0:
      html.SetCurName("context");
      Redisplay();
      break;
    case 2:
      if (!mstrLastLink.empty()) {
        const bool anchor = IsAnchorLink(mstrLastLink);
        if (anchor) html.SetCurName(mstrLastLink);
        else html.SetHtmlFile(mstrLastLink);
        // A page that is gone meanwhile is said so, as for a link.
        if (!Redisplay() && !anchor && mcHTML)
          platform::MessageBox().Show(mstrLastLink + " を開けません", platform::vbCritical | platform::vbOKOnly,
                                      kMessageTitle);
      }
      break;
    case 3:
      basGeneral::SetBusyCursor(true);
      html.GoBack();
      break;
    case 4:
      basGeneral::SetBusyCursor(true);
      html.GoNext();
      break;
    default:
      break;
  }
  Picture3->SetFocus();
  basGeneral::SetBusyCursor(false);
}

void frmHTMLHelp::mcHTML_LinkClick(const std::string& vstrHRef, int16_t&) {
  if (!mcHTML) return;
  if (IsSpecialLink(vstrHRef)) {
    if (!mnuLinkNoConfirm->Checked()) {
      const int32_t answer = platform::MessageBox().Show(
          vstrHRef + "\r" + " Internet URL へのハイパーリンクです。実行しますか？", platform::vbYesNo, kMessageTitle);
      // The window may have closed while the question was open (the program
      // was told to end): its viewer is gone.
      if (answer != platform::vbYes || !mcHTML) return;
    }
    mcHTML->Object().SetHtmlFile(vstrHRef);
  }
  Quillet::_clsHTML& html = mcHTML->Object();

  if (IsAnchorLink(vstrHRef)) {
    mstrLastLink = html.CurName();
    html.SetCurName(vstrHRef);
  } else {
    mstrLastLink = html.HtmlFile();
    html.SetHtmlFile(vstrHRef);
  }

  // A window closed meanwhile (the browser's turn of the event loop) says nothing.
  if (!Redisplay() && mcHTML) {
    const std::string why = (*mcHTML)->DispError();
    platform::MessageBox().Show(vstrHRef + " を開けません" + (why.empty() ? "" : " (" + why + ")"),
                                platform::vbCritical | platform::vbOKOnly, kMessageTitle);
  }
}

void frmHTMLHelp::mcHTML_LinkRightClick(const std::string& vstrHRef) {
  mstrPopupLink = vstrHRef;
  platform::PopupMenu().Show(*mForm, mnuPu);
}

void frmHTMLHelp::mcHTML_DispDone() {}

void frmHTMLHelp::mnuOpen_Click() {
  if (mcHTML) (*mcHTML)->ShowBrowser(true);
}

void frmHTMLHelp::mnuEnd_Click() { Unload(); }

void frmHTMLHelp::mnuCopy_Click() {
  if (!mcHTML) return;
  const std::string text = (*mcHTML)->PlaneText();
  platform::Clipboard().Clear();
  platform::Clipboard().SetText(text);
}

void frmHTMLHelp::mnuOpDisp_Click(int16_t Index) {
  if (mnuOpDisp(Index).Checked()) return;
  for (int16_t i = 0; i < 3; ++i) mnuOpDisp(i).SetChecked(i == Index);
  frmMain::SetTopMost(*mForm, kTopMostFlags[Index]);
}

void frmHTMLHelp::mnuOpFont_Click(int16_t Index) {
  if (mnuOpFont(Index).Checked()) return;
  for (int16_t i = 0; i < 3; ++i) mnuOpFont(i).SetChecked(i == Index);
  if (!mcHTML) return;
  (*mcHTML)->SetFontSize(kFontSizes[Index]);
  Redisplay();
}

void frmHTMLHelp::mnuLinkNoConfirm_Click() { mnuLinkNoConfirm->SetChecked(!mnuLinkNoConfirm->Checked()); }

void frmHTMLHelp::mnuVer_Click() {
  basGeneral::SetBusyCursor(true);
  const auto info = Quillet::CreateclsDLLInfo();
  std::string text = std::string(kMessageTitle) + "\n";
  if (info->StartMode() == 1) {
    text += basGeneral::PathSlash(info->Path(), 1) + info->EXEName() + "," + "DLL" + "\n";
    text += "DLL Version : " + std::to_string(info->Major()) + "," + std::to_string(info->Minor()) + ".0." +
            std::to_string(info->Revision()) + "\n";
    text += info->LegalCopyright() + "\n";
    text += info->Comments() + "\n" + "\n";
  } else {
    text += "This Version Of Quillet.DLL Is embedded In Application\n\n";
  }
  text += std::string(ProgramVersion::ProductName) + " ヘルプ" + "\n";
  text += "( " + (mcHTML ? (*mcHTML)->HtmlFile() : mstrHTMLHelpFile) + " )";
  basGeneral::SetBusyCursor(false);
  platform::MessageBox().Show(text, platform::vbInformation | platform::vbOKOnly, kMessageTitle);
}

void frmHTMLHelp::mnuPuCopy_Click() {
  if (IsAnchorLink(mstrPopupLink) && mcHTML) mstrPopupLink = (*mcHTML)->HtmlFile() + mstrPopupLink;
  platform::Clipboard().Clear();
  platform::Clipboard().SetText(mstrPopupLink);
}
