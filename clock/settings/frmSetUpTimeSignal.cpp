// The time-signal page: whether and how the hourly signal sounds, its text
// (a WAVE file or "MML:" and a melody), choosing a file and testing the
// signal; and the date and time settings of the desktop.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "clock/sound/basSound.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "clock/widgets/clsCommonDialog1.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Module.h"
#include "platform/ProcessStarter.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

using namespace SettingsStore;

namespace {

// The file dialog's flags: long names, the file must exist, no read-only box.
constexpr int32_t kWaveFileFlags = 2101252;
// The tick interval of the clock window.
constexpr int32_t kClockTick = 500;

void Message(const std::string& vstrText, int32_t vlngIcon) {
  platform::MessageBox().Show(vstrText, platform::vbOKOnly | vlngIcon, platform::Application::Title());
}

// A desktop's date and time settings: the desktop it belongs to (a word of
// XDG_CURRENT_DESKTOP) and its command.
struct DateTimeTool {
  const char* Desktop;
  platform::ProgramCommand Command;
};

// The desktops' date and time settings, the current desktop's first.
std::vector<platform::ProgramCommand> DateTimeTools() {
  std::vector<DateTimeTool> tools = {
      {"GNOME", {"gnome-control-center", {"datetime"}}},
      {"KDE", {"systemsettings", {"kcm_clock"}}},
      {"KDE", {"systemsettings5", {"clock"}}},
      {"X-Cinnamon", {"cinnamon-settings", {"calendar"}}},
      {"XFCE", {"xfce4-datetime-settings", {}}},
      {"LXQt", {"lxqt-admin-time", {}}},
      {"MATE", {"time-admin", {}}},
  };
  std::string desktop = ":";
  if (const char* current = std::getenv("XDG_CURRENT_DESKTOP")) desktop += std::string(current) + ":";
  std::stable_partition(tools.begin(), tools.end(), [&desktop](const DateTimeTool& tool) {
    return desktop.find(":" + std::string(tool.Desktop) + ":") != std::string::npos;
  });
  std::vector<platform::ProgramCommand> commands;
  for (const DateTimeTool& tool : tools) commands.push_back(tool.Command);
  return commands;
}

}  // namespace

void frmSetUp::CreateTimeSignalPage() {
  platform::IFrame& page = Frame1(1);
  // The label wraps after the comma, as in its two-line design box.
  auto label = platform::Controls().CreateLabel(page, "Label1", 6);
  label->Move(120, 120, 2175, 735);
  label->SetUseMnemonic(true);
  label->SetCaption("MML 文字列又は、\nWAVEファイル名(&F)");
  Label1.Load(std::move(label));

  Text1 = platform::Controls().CreateTextBox(page, "Text1");
  Text1->Move(2400, 120, 5175, 375);
  Text1->Change = [this] { Text1_Change(); };

  auto Button = [this, &page](int16_t index, const char* caption, double left) {
    auto button = platform::Controls().CreateCommandButton(page, "Command1", index);
    button->Move(left, 600, 1335, 495);
    button->SetCaption(caption);
    Command1.Load(std::move(button));
  };
  Button(kTestButton, "テスト(&T)", 4680);
  Button(kBrowseButton, "参照(&W)", 6240);

  auto Box = [this, &page](int16_t index, const char* caption, double left, double top, double width) {
    auto box = platform::Controls().CreateCheckBox(page, "Check1", index);
    box->Move(left, top, width, 375);
    box->SetCaption(caption);
    Check1.Load(std::move(box));
  };
  Box(kPCBuzzerBox, "PCブザーでWAVEファイル 再生(&P)", 120, 1320, 4215);
  Box(kRepeatBox, "時間と同じ回数繰り返す(&R)", 120, 1680, 3495);
  Box(kNoSignalBox, "時報を使用しない(&U)", 4320, 1680, 3255);

  auto line = platform::Controls().CreateLine(page, "Line1", 2);
  line->SetEnds(120, 1215, 7575, 1215);
  Line1.Load(std::move(line));
}

void frmSetUp::LoadTimeSignalPage() {
  Text1->SetText(WavFile);
  // The time signal reads its text from this field from now on.
  basMain::gfncTimeSignalText = [this] { return Text1->Text(); };
}

void frmSetUp::Text1_Change() {}

void frmSetUp::StoreSignalText(bool vblnAlways) {
  const std::string text = Text1->Text();
  if (vblnAlways) {
    WavFile = text;
    return;
  }
  if (text == WavFile) return;
  WavFile = text;
  frmMain* clock = mProgram.Clock();
  if (basMain::mintTimeSignalKind == 2 && basMain::mblnSpeakerReady && clock && clock->Speaker) {
    std::string file = WavFile;
    clock->Speaker->SetWaveFile(file);
  }
}

void frmSetUp::StartDateTimeSettings() {
  if (platform::ProcessStarter().StartFirstInstalled(DateTimeTools())) return;
  Message("日付と時刻を設定するプログラムが見つかりません", platform::vbExclamation);
}

void frmSetUp::ChooseWaveFile() {
  std::string folder = basGeneral::ParentFolder(Text1->Text(), 0);
  if (folder.empty()) folder = platform::ProgramFolder();
  clsCommonDialog1 dialog;
  dialog.SetInitDir(folder);
  dialog.SetForm(mForm.get());
  dialog.SetDialogTitle("WAVE ファイル名の選択");
  dialog.SetFlags(kWaveFileFlags);
  dialog.SetFilter(std::string("Wave File (") + "*." + "WAV" + ") | " + "*." + "WAV");
  dialog.ShowOpen();
  if (!dialog.CancelError()) Text1->SetText(dialog.FileName());
}

void frmSetUp::TestTimeSignal() {
  frmMain* clock = mProgram.Clock();
  basMain::EnsureSoundOutput();
  const int16_t kind = basMain::GetTimeSignalKind();
  if (basMain::mblnNoSoundOutput && (kind == 1 || kind == 2 || kind == 3)) {
    // A test nobody can hear would look like a fault of the signal.
    Message("音声出力装置が見つからないため、音を鳴らせません", platform::vbExclamation);
    return;
  }
  switch (kind) {
    case 1: TestMML(); break;
    case 2:
      if (clock && clock->Speaker) {
        std::string file = Text1->Text();
        clock->Speaker->SetWaveFile(file);
        clock->TimeSignal(1);
      }
      break;
    case 3: basSound::PlayWaveFile(Text1->Text(), basSound::SND_ASYNC); break;
    case 4: Message("ファイルが見つかりません", platform::vbCritical); break;
    case 5: Message("Windows NT 環境でのMML再生はサポートしていません", platform::vbInformation); break;
    default: break;  // the signal is off
  }
}

void frmSetUp::TestMML() {
  frmMain* clock = mProgram.Clock();
  if (!clock) return;
  // A test still playing ends first: one player borrows the clock's tick.
  ReleaseTestPlayer();
  mcPlayMML = std::make_unique<clsPlayMML>();
  if (!mcPlayMML->ExistDLL()) {
    Message("MML 再生機能を利用する場合には、DWSPY5.DLL を導入して下さい", platform::vbInformation);
    mcPlayMML.reset();
    return;
  }
  try {
    mobjMML = std::make_shared<clsIOMML>();
    mobjMML->SetNotesCommand(Text1->Text().substr(4));
    mobjMML->MakeSoundData();
  } catch (const platform::RuntimeError& error) {
    // A melody the parser rejects: said, and nothing plays.
    ReleaseTestPlayer();
    basGeneral::ReportError(error);
    return;
  }
  mcPlayMML->Done = [this](int16_t& vblnTimerStop) { mcPlayMML_Done(vblnTimerStop); };
  mcPlayMML->SetclsIOMML(mobjMML);
  mcPlayMML->SetTimer(clock->Timer1.get());
  mcPlayMML->PlayStart();
}

void frmSetUp::mcPlayMML_Done(int16_t&) {
  // The clock's tick timer keeps running (the stop flag stays false).
  ReleaseTestPlayer();
}

void frmSetUp::ReleaseTestPlayer() {
  if (!mcPlayMML) {
    mobjMML.reset();
    return;
  }
  if (mProgram.Clock()) mProgram.Clock()->Timer1->SetInterval(kClockTick);
  mobjMML.reset();
  mcPlayMML->SetTimer(nullptr);
  mcPlayMML.reset();
}
