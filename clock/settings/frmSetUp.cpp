#include "clock/settings/frmSetUp.h"

#include <cmath>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/help/basComponents.h"
#include "clock/help/clsRegSvrDll.h"
#include "clock/help/basSystem.h"
#include "clock/settings/clsDetailPage.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "clock/widgets/bas3DDraw.h"
#include "clock/widgets/clsBorder3D.h"
#include "clock/widgets/clsEZSubClass.h"
#include "clock/widgets/clsTabStrip.h"
#include "htmlview/Quillet.h"
#include "platform/Checked.h"
#include "platform/Services.h"
#include "platform/TrayIcon.h"

using namespace SettingsStore;

namespace {

constexpr const char* kCaption = "Kelvora Ver2.0";
// The window's inner size, twips (the menu bar comes on top).
constexpr double kClientWidth = 8055;
constexpr double kClientHeight = 4815;
// The command the parked dialog's system menu carries for "設定(&O)".
constexpr platform::WPARAM kSettingsCommand = 512;

}  // namespace

frmSetUp::frmSetUp(Program& program) : mProgram(program) {
  platform::FormStyle style;
  style.Name = "frmSetUp";
  style.Caption = kCaption;
  style.BorderStyle = platform::vbFixedSingle;
  style.ControlBox = true;
  style.ShowInTaskbar = true;
  mForm = platform::Controls().CreateForm(style);
  mForm->Move(0, 0, kClientWidth, kClientHeight);

  // The menu bar and the pages' controls come with LoadPages.
  platform::FormEvents& events = mForm->Events;
  events.Paint = [this] { Form_Paint(); };
  events.QueryUnload = [this](int16_t& cancel, int16_t mode) { Form_QueryUnload(cancel, mode); };
  events.Unload = [this](int16_t& cancel) { Form_Unload(cancel); };
}

frmSetUp::~frmSetUp() {
  // Nothing may call into a dialog that is gone.
  if (basMain::gfncTimeSignalText && mblnPagesLoaded) basMain::gfncTimeSignalText = nullptr;
  ReleaseTestPlayer();
  mcSubClass1.reset();
  mcSubClass2.reset();
  mcTabStrip.reset();
}

std::string frmSetUp::SignalText() const { return Text1 ? Text1->Text() : WavFile; }

void frmSetUp::Opening() {
  // A dialog opened before the start routine loaded it is loaded now.
  Form_Load();
  LoadPages();
  if (mcDetailPage) mcDetailPage->ReflectAutostart();
}

// ---- building the window

void frmSetUp::CreateMenus() {
  if (mnuCopy1) return;  // made once
  platform::IControlFactory& controls = platform::Controls();
  const auto menu = [&](platform::IMenuItem* parent, const char* name, const char* caption) {
    platform::MenuItemStyle style;
    style.Name = name;
    style.Caption = caption;
    return controls.CreateMenuItem(*mForm, parent, style);
  };
  mnuCopy1 = menu(nullptr, "mnuCopy1", "クリップボードへコピー(&C)");
  mnuCopy1->Click = [this] { mnuCopy1_Click(); };
  mnuHelp = menu(nullptr, "mnuHelp", "ヘルプ(&H)");
  mnuHelp1 = menu(mnuHelp.get(), "mnuHelp1", "Kelvora ヘルプ(&M)");
  mnuHelp1->Click = [this] { mnuHelp1_Click(); };
  mnuLine1 = menu(mnuHelp.get(), "mnuLine1", "-");
  mnuVer = menu(mnuHelp.get(), "mnuVer", "バージョン情報(&A)");
  mnuVer->Click = [this] { mnuVer_Click(); };
  // The bar takes its height from the window: the inner size stays.
  mForm->Move(mForm->Left(), mForm->Top(), mForm->Width(), mForm->Height() + kClientHeight - mForm->ScaleHeight());
}

void frmSetUp::CreateControls() {
  if (Picture2) return;  // made once
  Command1.OnElement = [this](platform::ICommandButton& button) {
    button.Click = [this, index = button.Index()] { Command1_Click(index); };
  };
  Check1.OnElement = [this](platform::ICheckBox& box) {
    box.Click = [this, index = box.Index()] { Check1_Click(index); };
  };

  // The heading.
  auto heading = platform::Controls().CreateLabel(*mForm, "Label1", 2);
  heading->Move(240, 195, 7575, 375);
  heading->SetCaption("時計の設定メニュー");
  platform::StdFont font = heading->Font();
  font.Size = 12;
  font.Bold = true;
  font.Weight = 700;
  heading->SetFont(font);
  Label1.Load(std::move(heading));

  // The tab strip's surface, then the pages in the tab order.
  Picture2 = platform::Controls().CreatePictureBox(*mForm, "Picture2");
  Picture2->Move(120, 705, 7815, 2655);
  for (int16_t i = 0; i < 3; ++i) {
    auto frame = platform::Controls().CreateFrame(*mForm, "Frame1");
    frame->SetBorderStyle(0);
    frame->SetCaption("");
    Frame1.Add(std::move(frame));
  }
  CreateDisplayPage();
  CreateTimeSignalPage();
  CreateDetailPage();
  CreateCommonControls();
}

void frmSetUp::CreateDetailPage() { mcDetailPage = std::make_unique<clsDetailPage>(Frame1(2)); }

void frmSetUp::CreateCommonControls() {
  auto Button = [this](int16_t index, const char* caption, double left, double top, double width) {
    auto button = platform::Controls().CreateCommandButton(*mForm, "Command1", index);
    button->Move(left, top, width, 495);
    button->SetCaption(caption);
    Command1.Load(std::move(button));
  };
  Button(kDateTimeButton, "日付時間設定(&D)", 240, 3480, 2055);
  auto box = platform::Controls().CreateCheckBox(*mForm, "Check1", kNoTestDllRegBox);
  box->Move(240, 4200, 4335, 270);
  box->SetCaption("起動時のDLL確認のMSG表示なし(&N)");
  Check1.Load(std::move(box));
  Button(kOKButton, "了解(&O)", 4800, 4080, 1455);
  Button(kQuitButton, "終了(&X)", 6480, 4080, 1335);
}

// ---- events of the window

void frmSetUp::Form_Load() {
  if (mblnLoaded) return;  // loaded once for the whole run
  // 1. The help's viewer is checked by CheckComponents, once the clock
  // shows. 2. The pages, with the PC-buzzer box, come with LoadPages.

  // 3. Window messages: "設定(&O)" of this window's system menu, and the
  // clock window's size limits from the work area (read first: attaching
  // asks for the limits at once).
  platform::PixelRect area;
  basSystem::GetWorkArea(area, mProgram.Clock() ? &mProgram.Clock()->Form() : nullptr);
  mudtWorkArea = {area.Left, area.Top, area.Right - area.Left, area.Bottom - area.Top};
  mlngMinWidth = platform::checked::CLng(mudtWorkArea.Width * 0.1);
  mlngMinHeight = platform::checked::CLng(mudtWorkArea.Height * 0.05);
  mcSubClass1 = std::make_unique<clsEZSubClass>();
  mcSubClass1->SetSubclassType(1);
  mcSubClass1->AddMessage(platform::WM_SYSCOMMAND);
  mcSubClass1->WndMessage = [this](platform::HWND h, platform::UINT& m, platform::WPARAM& w, platform::LPARAM& l,
                                   platform::LRESULT& r, bool& n) { mcSubClass1_WndMessage(h, m, w, l, r, n); };
  mcSubClass1->SetHwndParam(mForm->hWnd());
  mcSubClass2 = std::make_unique<clsEZSubClass>();
  mcSubClass2->SetSubclassType(0);
  mcSubClass2->AddMessage(platform::WM_GETMINMAXINFO);
  mcSubClass2->WndMessage = [this](platform::HWND h, platform::UINT& m, platform::WPARAM& w, platform::LPARAM& l,
                                   platform::LRESULT& r, bool& n) { mcSubClass2_WndMessage(h, m, w, l, r, n); };
  if (mProgram.Clock()) mcSubClass2->SetHwndParam(mProgram.Clock()->Form().hWnd());

  // The signal kind from the stored settings; the caption.
  basMain::GetTimeSignalKind();
  mForm->SetCaption(kCaption);
  mblnLoaded = true;
}

void frmSetUp::LoadPages() {
  if (mblnPagesLoaded) return;  // made once for the whole run
  mblnPagesLoaded = true;
  CreateMenus();
  CreateControls();
  // Until CheckComponents has run the PC buzzer is not known to be usable.
  Check1(kPCBuzzerBox).SetEnabled(mblnComponentsChecked && basMain::mblnSpeakerReady);

  // 4. The tab strip and its pages.
  mcTabStrip = std::make_unique<clsTabStrip>();
  mcTabStrip->SetPicture(*Picture2);
  mcTabStrip->SetCmdButtons(Command1);
  mcTabStrip->Add("表示設定", "E");
  mcTabStrip->Add("時報設定", "S");
  mcTabStrip->Add("詳細", "A");
  mcTabStrip->SetSelectedIndex(0);
  mcTabStrip->TabChanged = [this] { mcTabStrip_TabChanged(); };
  for (int16_t i = 0; i < Frame1.Count(); ++i) {
    Frame1(i).Move(mcTabStrip->ClientLeft(), mcTabStrip->ClientTop(), mcTabStrip->ClientWidth(),
                   mcTabStrip->ClientHeight());
  }
  Frame1(0).ZOrder(0);
  ShowSelectedPage();

  // 5. The position list and the two format lists.
  LoadDisplayPage();

  // 6. The boxes from the settings. The row boxes' clicks give the clock
  // its layout; the boxes whose clicks speak are set quietly.
  auto Value = [](bool vblnOn) { return vblnOn ? platform::vbChecked : platform::vbUnchecked; };
  SetCheckQuietly(1, NoTestDllReg);
  Check1(kUpperRowBox).SetValue(Value(mintRows[0] == 1));
  Check1(kUnderRowBox).SetValue(Value(mintRows[1] == 1));
  SetCheckQuietly(0, TopMost);
  Check1(kRepeatBox).SetValue(Value(TimeSignalRepeat));
  Check1(kNoSignalBox).SetValue(Value(NoUseTimeSignal));
  Check1(kPCBuzzerBox).SetValue(Value(UsePCBuzzer));

  // 7. The signal field, the etched lines, the signal kind, the texts and
  // the borders.
  LoadTimeSignalPage();
  if (mcDetailPage) mcDetailPage->Load();
  for (int16_t i = 0; i <= Line1.UBound(); ++i) bas3DDraw::DrawEtchedLine(Line1(i));
  basMain::GetTimeSignalKind();
  Label1(2).SetCaption(basMain::mstrSetUpTitle);
  mBorderWindow = std::make_unique<clsBorder3D>();
  mBorderWindow->SetCanvas(mForm.get());
  mBorderWindow->SetClient(mForm.get());
  mBorderWindow->SetStyle3D(5);
  mBorderHeading = std::make_unique<clsBorder3D>();
  mBorderHeading->SetCanvas(mForm.get());
  mBorderHeading->SetClient(&Label1(2));
  mBorderHeading->SetStyle3D(4);
  for (clsBorder3D* border : {mBorderWindow.get(), mBorderHeading.get()}) {
    border->SetBevelInner(2);
    border->SetBevelOuter(1);
    border->SetBevelWidth(2);
  }
  mForm->Refresh();
}

void frmSetUp::CheckComponents() {
  if (mblnComponentsChecked) return;
  mblnComponentsChecked = true;
  // Whether the help can use Quillet.
  mcRegSvrDll1 = std::make_unique<clsRegSvrDll>();
  mcRegSvrDll1->SetFileName(basComponents::kQuilletFile);
  mcRegSvrDll1->TestInstanced = [this](int32_t& rlngResult) { mcRegSvrDll1_TestInstanced(rlngResult); };
  mcRegSvrDll1->DllRegisterServer = [this] { mcRegSvrDll1_DllRegisterServer(); };
  mcRegSvrDll1->DllUnRegisterServer = [this] { mcRegSvrDll1_DllUnRegisterServer(); };
  mblnHTMLHelpReady = mcRegSvrDll1->TryDllRegist(NoTestDllReg);
  mcRegSvrDll1.reset();

  // The PC buzzer only when its control is usable; the signal's kind
  // follows the clock's speaker check.
  if (mblnPagesLoaded) Check1(kPCBuzzerBox).SetEnabled(basMain::mblnSpeakerReady);
  basMain::GetTimeSignalKind();

  // The dialog owns the taskbar entry: its system menu is the one the tray
  // icon offers (asking for a tray may wait on the session bus).
  if (platform::ServiceSlot<platform::ITrayIcon>::Installed()) platform::TrayIcon().SetWindow(mForm->hWnd());
}

void frmSetUp::Form_Paint() {
  mForm->Cls();
  if (mBorderWindow) mBorderWindow->Draw();
  if (mBorderHeading) mBorderHeading->Draw();
}

void frmSetUp::Form_QueryUnload(int16_t& cancel, int16_t UnloadMode) {
  // The close box of the open dialog parks it; every other unload (the
  // parked dialog's taskbar entry closed, the program's own) goes on.
  if (UnloadMode != 0 || !basMain::mblnSetUpOpen) return;
  cancel = -1;
  ParkDialog();
  basMain::mblnSetUpOpen = false;
}

void frmSetUp::Form_Unload(int16_t&) {
  ReleaseTestPlayer();
  mcSubClass1.reset();
  mcSubClass2.reset();
  basMain::gfncTimeSignalText = nullptr;
  if (mProgram.Clock()) mProgram.Clock()->Form().Unload();
  basMain::UnloadHelpWindow(mProgram);
  mProgram.ClockUnloaded();
}

void frmSetUp::Command1_Click(int16_t Index) {
  switch (Index) {
    case kQuitButton:
      LeaveDialog();
      StoreSignalText(true);
      mForm->Unload();
      break;
    case kOKButton:
      LeaveDialog();
      StoreSignalText(false);
      ParkDialog();
      break;
    case kDateTimeButton: StartDateTimeSettings(); break;
    case kFontButton: ChooseClockFont(); break;
    case kBrowseButton: ChooseWaveFile(); break;
    case kTestButton: TestTimeSignal(); break;
    default:
      // The tab strip's accelerator buttons.
      if (mcTabStrip) mcTabStrip->AccelKeyCmdBtnClicked(Index);
      break;
  }
}

void frmSetUp::LeaveDialog() {
  TopMost = Check1(kTopMostBox).Value() == platform::vbChecked;
  // The state is the clock's: the parked dialog has no use for it.
  if (mProgram.Clock()) frmMain::SetTopMost(mProgram.Clock()->Form(), TopMost ? -1 : 0);
  basMain::mblnSetUpOpen = false;
  basMain::GetTimeSignalKind();
}

void frmSetUp::ParkDialog() {
  basMain::MoveOffScreen(*mForm);
  basMain::AddSettingsMenuItem(mProgram);
}

void frmSetUp::mcTabStrip_TabChanged() { ShowSelectedPage(); }

void frmSetUp::ShowSelectedPage() {
  for (int16_t i = 0; i < Frame1.Count(); ++i) {
    const bool selected = i == mcTabStrip->SelectedIndex();
    Frame1(i).SetVisible(selected);
    Frame1(i).SetEnabled(selected);
    if (selected) Frame1(i).ZOrder(0);
  }
}

void frmSetUp::SetQuietly(platform::IControl& control, const std::function<void()>& set) {
  // A disabled control's click handler does nothing.
  const bool enabled = control.Enabled();
  control.SetEnabled(false);
  set();
  control.SetEnabled(enabled);
}

void frmSetUp::SetCheckQuietly(int16_t Index, bool vblnChecked) {
  // No message shows for a value loaded from the settings.
  platform::ICheckBox& box = Check1(Index);
  SetQuietly(box, [&] { box.SetValue(vblnChecked ? platform::vbChecked : platform::vbUnchecked); });
}

// ---- menus

void frmSetUp::mnuCopy1_Click() { basMain::CopyTimeToClipboard(); }
void frmSetUp::mnuHelp1_Click() { basMain::OpenHelp(mProgram); }
void frmSetUp::mnuVer_Click() { basMain::ShowVersionInfo(mProgram); }

// ---- window messages

void frmSetUp::mcSubClass1_WndMessage(platform::HWND, platform::UINT& uMsg, platform::WPARAM& wParam,
                                      platform::LPARAM&, platform::LRESULT&, bool&) {
  if (uMsg != platform::WM_SYSCOMMAND) return;
  if (wParam == kSettingsCommand) {
    basMain::OpenSettingsDialog(mProgram);
  } else if ((wParam & 0xFFF0) == platform::SC_RESTORE && !basMain::mblnSetUpOpen) {
    // The parked (iconified) dialog restored from its taskbar entry or the
    // tray: the settings open as by "設定(&O)".
    basMain::OpenSettingsDialog(mProgram);
  }
}

void frmSetUp::mcSubClass2_WndMessage(platform::HWND, platform::UINT& uMsg, platform::WPARAM&,
                                      platform::LPARAM& lParam, platform::LRESULT& RetValue, bool& NoDef) {
  if (uMsg != platform::WM_GETMINMAXINFO || lParam == 0) return;
  platform::MINMAXINFO& info = platform::MinMaxInfoOf(lParam);
  info.ptReserved = {0, 0};
  info.ptMaxSize = {mudtWorkArea.Width, mudtWorkArea.Height};
  info.ptMaxPosition = {mudtWorkArea.Left, mudtWorkArea.Top};
  info.ptMinTrackSize = {mlngMinWidth, mlngMinHeight};
  info.ptMaxTrackSize = {mudtWorkArea.Width, mudtWorkArea.Height};
  RetValue = 0;
  NoDef = true;
}

// ---- the component check of Quillet

void frmSetUp::mcRegSvrDll1_TestInstanced(int32_t& rlngResult) {
  rlngResult = basComponents::TryCreateObject(Quillet::kclsHTML);
}

void frmSetUp::mcRegSvrDll1_DllRegisterServer() { basComponents::CallDllRegisterServer(basComponents::kQuilletFile); }

void frmSetUp::mcRegSvrDll1_DllUnRegisterServer() {
  basComponents::CallDllUnregisterServer(basComponents::kQuilletFile);
}
