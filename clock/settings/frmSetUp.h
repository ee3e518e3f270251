#pragma once
// The settings dialog: two pages in a tab strip, "表示設定" (rows, formats,
// font, edge, topmost) and "時報設定" (the hourly time signal), over a row
// of buttons common to both. Most settings take effect on the clock at
// once. The dialog is loaded at start-up and parked off the screen while it
// is not in use; it owns the program's taskbar entry, and its unload ends
// the program.
//
// Start-up: construct (the bare window), park it with
// MoveOffScreen and AddSettingsMenuItem and Show it; once the clock shows,
// Form_Load (the window messages, the clock's size limits, the signal
// kind) and, after the clock's speaker check, CheckComponents. The menu
// bar and the pages' controls are made and filled from the settings when
// the dialog first opens (LoadPages): until then the settings live only in
// the store, and the time signal reads its text from there. Opening loads
// a dialog that was not loaded yet. The program's clock window
// must exist before Form_Load and outlive the dialog object (a test melody
// borrows its tick timer).
//
// The implementation is split by page: frmSetUp.cpp (window, load, leaving,
// menus, window messages), frmSetUpDisplay.cpp (display page),
// frmSetUpTimeSignal.cpp (time-signal page).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/LineControl.h"
#include "platform/ListControl.h"
#include "platform/MenuBar.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "platform/WindowMessages.h"

class Program;
class clsBorder3D;
class clsDetailPage;
class clsEZSubClass;
class clsIOMML;
class clsPlayMML;
class clsRegSvrDll;
class clsTabStrip;

class frmSetUp {
 public:
  // The desktop's work area, pixels.
  struct WorkArea {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
  };

  // Creates the window, hidden; its menu bar and controls come with
  // LoadPages. The program it belongs to reaches the clock and the help.
  explicit frmSetUp(Program& program);
  ~frmSetUp();
  frmSetUp(const frmSetUp&) = delete;
  frmSetUp& operator=(const frmSetUp&) = delete;

  platform::IForm& Form() const { return *mForm; }
  // The time-signal text as the user has it now (the field Text1, or the
  // stored text before the pages exist).
  std::string SignalText() const;
  // The dialog comes on screen: loaded and its pages made if that has not
  // happened yet; what lives outside the program's settings (the autostart
  // entry) is shown as it is now.
  void Opening();
  // Makes the menu bar and the pages' controls and fills them from the
  // settings, once (the window grows by the menu bar's height).
  void LoadPages();

  // ---- events

  void Form_Load();
  // The rest of the load, run once the clock is on the screen (and after
  // its speaker check): whether the help can use Quillet (which may ask
  // the user), the PC-buzzer box enabled as the speaker check found, the
  // tray icon.
  void CheckComponents();
  void Form_Paint();
  void Form_QueryUnload(int16_t& cancel, int16_t UnloadMode);
  void Form_Unload(int16_t& cancel);
  void Check1_Click(int16_t Index);
  void Combo1_Change(int16_t Index);
  void Combo1_Click(int16_t Index);
  void Command1_Click(int16_t Index);
  void Text1_Change();
  void mcTabStrip_TabChanged();
  void mnuCopy1_Click();
  void mnuHelp1_Click();
  void mnuVer_Click();
  void mcSubClass1_WndMessage(platform::HWND hwnd, platform::UINT& uMsg, platform::WPARAM& wParam,
                              platform::LPARAM& lParam, platform::LRESULT& RetValue, bool& NoDef);
  void mcSubClass2_WndMessage(platform::HWND hwnd, platform::UINT& uMsg, platform::WPARAM& wParam,
                              platform::LPARAM& lParam, platform::LRESULT& RetValue, bool& NoDef);
  void mcRegSvrDll1_TestInstanced(int32_t& rlngResult);
  void mcRegSvrDll1_DllRegisterServer();
  void mcRegSvrDll1_DllUnRegisterServer();
  void mcPlayMML_Done(int16_t& vblnTimerStop);

  // ---- state (read by the start routine, the help and tests)

  // Quillet was found usable when the dialog loaded: the help shows in the
  // help window, else in the user's browser.
  bool mblnHTMLHelpReady = false;
  // The desktop's work area when the dialog loaded, pixels, and the
  // smallest size of the clock window (a tenth of its width, a twentieth
  // of its height).
  WorkArea mudtWorkArea;
  int32_t mlngMinWidth = 0;
  int32_t mlngMinHeight = 0;

 private:
  Program& mProgram;
  // The form goes last: the controls on it are released first.
  std::unique_ptr<platform::IForm> mForm;

 public:
  // ---- controls, by index as the Parts name them
  // The indices of the check boxes, push buttons and combo boxes.
  enum CheckIndex : int16_t {
    kTopMostBox = 0,       // 最前面表示
    kNoTestDllRegBox = 1,  // 起動時のDLL確認のMSG表示なし
    kUpperRowBox = 2,      // row 1 shown
    kUnderRowBox = 3,      // row 2 shown
    kRepeatBox = 4,        // 時間と同じ回数繰り返す
    kNoSignalBox = 5,      // 時報を使用しない
    kPCBuzzerBox = 6,      // PCブザーでWAVEファイル 再生
  };
  enum CommandIndex : int16_t {
    kQuitButton = 0,      // 終了
    kOKButton = 1,        // 了解
    kDateTimeButton = 2,  // 日付時間設定
    kFontButton = 3,      // フォント設定
    kBrowseButton = 4,    // 参照
    kTestButton = 5,      // テスト
  };
  enum ComboIndex : int16_t {
    kRow1FormatCombo = 0,  // row 1's format (UnderRowFormat)
    kRow2FormatCombo = 1,  // row 2's format (UpperRowFormat)
    kMoveSideCombo = 2,    // 移動位置
  };
  platform::ControlArray<platform::ILabel> Label1;
  // The push buttons outlive the tab strip, which loads its accelerator
  // buttons into this array.
  platform::ControlArray<platform::ICommandButton> Command1;
  std::unique_ptr<platform::IPictureBox> Picture2;
  platform::ControlArray<platform::IFrame> Frame1;
  platform::ControlArray<platform::ICheckBox> Check1;
  platform::ControlArray<platform::IListControl> Combo1;
  platform::ControlArray<platform::ILine> Line1;
  std::unique_ptr<platform::ITextBox> Text1;

  // ---- menu bar
  std::unique_ptr<platform::IMenuItem> mnuCopy1;  // "クリップボードへコピー(&C)"
  std::unique_ptr<platform::IMenuItem> mnuHelp;   // "ヘルプ(&H)": mnuHelp1, mnuLine1, mnuVer
  std::unique_ptr<platform::IMenuItem> mnuHelp1, mnuLine1, mnuVer;

  // ---- objects whose events the dialog handles
  std::unique_ptr<clsTabStrip> mcTabStrip;
  std::unique_ptr<clsEZSubClass> mcSubClass1;
  std::unique_ptr<clsEZSubClass> mcSubClass2;
  std::unique_ptr<clsRegSvrDll> mcRegSvrDll1;
  // The third page, "詳細" (clsDetailPage.h).
  std::unique_ptr<clsDetailPage> mcDetailPage;
  // The melody of a test and its player, alive from the test click to Done.
  std::shared_ptr<clsIOMML> mobjMML;
  std::unique_ptr<clsPlayMML> mcPlayMML;

 private:
  void CreateControls();
  void CreateDisplayPage();
  void CreateTimeSignalPage();
  void CreateDetailPage();
  void CreateCommonControls();
  void CreateMenus();

  // At load: the position list and the format lists; the signal field.
  void LoadDisplayPage();
  void LoadTimeSignalPage();
  // Shows the page of the selected tab, hides the others.
  void ShowSelectedPage();
  // Sets a box's value without running its click handler's message.
  // Sets a control's value with its click handler held off.
  static void SetQuietly(platform::IControl& control, const std::function<void()>& set);
  void SetCheckQuietly(int16_t Index, bool vblnChecked);

  // Command1(0) and (1): the common part of leaving the dialog.
  void LeaveDialog();
  // Puts the dialog back off the screen, with "設定(&O)" in its system menu.
  void ParkDialog();
  // Takes the time-signal field over as WavFile: always (終了), or only when
  // it changed (了解, which also hands a changed buzzer file on).
  void StoreSignalText(bool vblnAlways);

  // The buttons' actions.
  void ChooseClockFont();
  void StartDateTimeSettings();
  void ChooseWaveFile();
  void TestTimeSignal();
  void TestMML();
  // Ends a test melody: the player lets go of the clock's tick timer, which
  // ticks at 500 ms again.
  void ReleaseTestPlayer();

  std::unique_ptr<clsBorder3D> mBorderWindow;
  std::unique_ptr<clsBorder3D> mBorderHeading;
  bool mblnLoaded = false;
  bool mblnPagesLoaded = false;
  bool mblnComponentsChecked = false;
};
