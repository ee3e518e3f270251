#include "clock/help/frmVersionInfo.h"

#include <cstdio>

#include "clock/core/ProgramVersion.h"
#include "common/basControl.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/ProcessStarter.h"
#include "platform/Services.h"
#include "platform/Shell.h"

namespace {

constexpr int32_t HKEY_LOCAL_MACHINE = static_cast<int32_t>(0x80000002u);

// Pixels of the design, in twips.
constexpr double Px(double pixels) { return pixels * 15; }

// The desktop's system-information tools, in the order they are tried.
const std::vector<platform::ProgramCommand>& SystemInformationTools() {
  static const std::vector<platform::ProgramCommand> tools{
      {"hardinfo2", {}}, {"hardinfo", {}}, {"kinfocenter", {}}, {"gnome-system-monitor", {}},
      {"mate-system-monitor", {}}, {"xfce4-taskmanager", {}},
  };
  return tools;
}

const char* const kDisclaimer =
    "警告: このソフトウェアは、著作権法および国際条約\n"
    "により保護されています。このソフトウェアの全部\n"
    "または一部を無断で複製したり、無断で複製物を頒布\n"
    "したりすると、著作権の侵害となりますのでご注意\n"
    "ください。";

}  // namespace

frmVersionInfo::frmVersionInfo(std::string vstrIconFile, const platform::IForm* vfrmCentreOn)
    : mstrIconFile(std::move(vstrIconFile)), mfrmCentreOn(vfrmCentreOn) {
  platform::IControlFactory& controls = platform::Controls();
  platform::FormStyle style;
  style.Name = "frmVersionInfo";
  style.BorderStyle = platform::vbFixedDialog;
  style.ShowInTaskbar = false;
  mForm = controls.CreateForm(style);
  mForm->Move(0, 0, Px(430), Px(290));

  picIcon = controls.CreatePictureBox(*mForm, "picIcon");
  picIcon->Move(Px(16), Px(16), Px(64), Px(64));
  picIcon->SetAutoSize(true);
  picIcon->SetBackColor(platform::SystemColor(platform::COLOR_BTNFACE));
  picIcon->GotFocus = [this] { picIcon_GotFocus(); };

  Frame1 = controls.CreateFrame(*mForm, "Frame1");
  Frame1->Move(Px(96), Px(8), Px(320), Px(156));
  const double textTops[] = {Px(14), Px(40), Px(62)};
  const double textHeights[] = {Px(24), Px(20), Px(58)};
  for (int16_t i = 0; i < 3; ++i) {
    std::unique_ptr<platform::ITextBox> text =
        i == 2 ? controls.CreateMultiLineTextBox(*Frame1, "Text1") : controls.CreateTextBox(*Frame1, "Text1");
    text->Move(Px(12), textTops[i], Px(296), textHeights[i]);
    text->SetBorderStyle(0);
    Text1.Add(std::move(text));
  }
  // The title field is read-only from the start; the other two become
  // label look-alikes when the box loads.
  Text1(0).SetLocked(true);
  Text1(0).SetBackColor(platform::SystemColor(platform::COLOR_BTNFACE));

  for (int16_t i = 0; i < 3; ++i) {
    auto label = controls.CreateLabel(*Frame1, "Label1", i);
    label->SetAutoSize(true);
    label->Move(Px(14), Px(128), 0, 0);
    label->Click = [this, i] { Label1_Click(i); };
    label->MouseDown = [this, i](int16_t button, int16_t shift, double x, double y) {
      Label1_MouseDown(i, button, shift, x, y);
    };
    label->MouseUp = [this, i](int16_t button, int16_t shift, double x, double y) {
      Label1_MouseUp(i, button, shift, x, y);
    };
    Label1.Add(std::move(label));
  }
  // The address looks and points like a link.
  platform::StdFont linkFont = Label1(1).Font();
  linkFont.Underline = true;
  Label1(1).SetFont(linkFont);
  Label1(1).SetForeColor(platform::RGB(0, 0, 255));
  Label1(1).SetMousePointer(platform::vbCustom);

  for (int16_t i = 0; i < 2; ++i) {
    auto line = controls.CreateLine(*mForm, "Line1", i);
    line->SetEnds(Px(16), Px(176 + i), Px(416), Px(176 + i));
    line->SetBorderColor(platform::SystemColor(i == 0 ? platform::COLOR_BTNSHADOW : platform::COLOR_3DHILIGHT));
    Line1.Add(std::move(line));
  }

  lblDisclaimer = controls.CreateLabel(*mForm, "lblDisclaimer");
  lblDisclaimer->SetAutoSize(true);
  lblDisclaimer->Move(Px(16), Px(188), 0, 0);

  cmdOK = controls.CreateCommandButton(*mForm, "cmdOK");
  cmdOK->SetCaption("OK");
  cmdOK->Move(Px(316), Px(190), Px(100), Px(28));
  cmdOK->SetDefault(true);
  cmdOK->SetCancel(true);
  cmdOK->Click = [this] { cmdOK_Click(); };
  cmdSysInfo = controls.CreateCommandButton(*mForm, "cmdSysInfo");
  cmdSysInfo->SetCaption("システム情報(&S)");
  cmdSysInfo->Move(Px(316), Px(226), Px(100), Px(28));
  cmdSysInfo->Click = [this] { cmdSysInfo_Click(); };

  mnuPopup.Name = "mnuPopup";
  mnuPopup.Visible = false;
  mnuPopup.Items = {
      {"mnupOpen", "開く(&O)", [this] { mnupOpen_Click(); }},
      {"mnupLine0", "-", nullptr},
      {"mnupCopy", "ショートカットのコピー(&C)", [this] { mnupCopy_Click(); }},
  };

  mForm->Events.Unload = [this](int16_t& cancel) { Form_Unload(cancel); };
}

frmVersionInfo::~frmVersionInfo() = default;

void frmVersionInfo::Show() {
  Form_Load();
  mForm->ShowModal();
}

std::string frmVersionInfo::VersionLine(int intMajor, int intMinor, int intRevision) {
  char text[64];
  std::snprintf(text, sizeof text, "Version :  %d.%02d.00.%d", intMajor, intMinor, intRevision);
  return text;
}

std::pair<std::string, std::string> frmVersionInfo::MailCaptionAndAddress(const std::string& strComments) {
  const size_t colon = strComments.find(':');
  if (colon == std::string::npos) return {std::string(), basGeneral::TrimBlanks(strComments)};
  return {strComments.substr(0, colon + 1), basGeneral::TrimBlanks(strComments.substr(colon + 1))};
}

void frmVersionInfo::Form_Load() {
  basGeneral::SetBusyCursor(true);

  if (!mstrIconFile.empty()) {
    try {
      picIcon->LoadPicture(mstrIconFile);
    } catch (const platform::RuntimeError&) {
      // A missing or broken icon leaves the place empty.
    }
  }
  basControl::MakeTextBoxLabel(Text1(1));
  basControl::MakeTextBoxLabel(Text1(2));

  basGeneral::CenterForm(*mForm, mfrmCentreOn);

  const std::string title = ProgramVersion::Title;
  mForm->SetCaption(title + " のバージョン情報");
  Text1(0).SetText(title);
  Text1(1).SetText(VersionLine(ProgramVersion::Major, ProgramVersion::Minor, ProgramVersion::Revision));
  Text1(2).SetText(std::string("ProductName : ") + ProgramVersion::ProductName + "\r\n" + "EXEName : " +
                   ProgramVersion::EXEName + "\r\n" + ProgramVersion::LegalCopyright);

  const auto [caption, address] = MailCaptionAndAddress(ProgramVersion::Comments);
  Label1(0).SetCaption(caption);
  Label1(1).SetCaption(address);
  Label1(2).SetCaption("");
  Label1(1).Move(Label1(0).Left() + Label1(0).Width(), Label1(0).Top(), Label1(1).Width(), Label1(1).Height());

  lblDisclaimer->SetCaption(kDisclaimer);

  basGeneral::SetBusyCursor(false);
}

void frmVersionInfo::Form_Unload(int16_t&) { mblnUnloaded = true; }

void frmVersionInfo::cmdOK_Click() { mForm->Unload(); }

void frmVersionInfo::cmdSysInfo_Click() { StartSysInfo(); }

void frmVersionInfo::Label1_Click(int16_t) {}

void frmVersionInfo::Label1_MouseDown(int16_t Index, int16_t Button, int16_t, double, double) {
  if (Index != 1) return;
  if (Button == platform::vbRightButton) mblnLeftPress = false;
  else if (Button == platform::vbLeftButton) mblnLeftPress = true;
}

void frmVersionInfo::Label1_MouseUp(int16_t Index, int16_t, int16_t, double X, double Y) {
  if (Index != 1) return;
  // The action belongs to a release on the address; a press dragged off it
  // and released elsewhere does nothing.
  const platform::ILabel& address = Label1(1);
  if (X < 0 || Y < 0 || X >= address.Width() || Y >= address.Height()) return;
  if (mblnLeftPress) SendMail();
  else platform::PopupMenu().Show(*mForm, mnuPopup);
}

void frmVersionInfo::mnupCopy_Click() {
  platform::Clipboard().Clear();
  platform::Clipboard().SetText(Label1(1).Caption());
}

void frmVersionInfo::mnupOpen_Click() { SendMail(); }

void frmVersionInfo::picIcon_GotFocus() { mForm->SetFocus(); }

void frmVersionInfo::SendMail() { platform::Shell().Open("mailto:" + Label1(1).Caption()); }

bool frmVersionInfo::GetKeyValue(int32_t, const std::string&, const std::string&, std::string& rstrValue) {
  rstrValue.clear();
  return false;
}

void frmVersionInfo::StartSysInfo() {
  try {
    std::string path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
      platform::ProcessStarter().StartFirstInstalled({{path, {}}});
      return;
    }
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path) &&
        basGeneral::PathExists(basGeneral::PathSlash(path, 1) + "MSINFO32.EXE", false) == -1) {
      platform::ProcessStarter().StartFirstInstalled({{basGeneral::PathSlash(path, 1) + "MSINFO32.EXE", {}}});
      return;
    }
    // No Windows tool here: the desktop's own, the first one installed.
    if (platform::ProcessStarter().StartFirstInstalled(SystemInformationTools())) return;
    platform::MessageBox().Show("システム情報を表示できません", platform::vbOKOnly, platform::Application::Title());
  } catch (const platform::RuntimeError&) {
    // Any error ends it without a word.
  }
}
