// The display page: which rows show, their formats, the font, the screen
// edge and staying on top.
#include "clock/core/FormatPresets.h"
#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "clock/widgets/clsCommonDialog1.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Services.h"

using namespace SettingsStore;

namespace {

// The font dialog's flags: screen fonts, effects, existing scalable fonts.
constexpr int32_t kFontFlags = 196865;

// The positions of the clock, in the order of MoveSide.
const char* const kMoveSides[] = {"画面上辺", "画面右辺", "画面下辺", "画面左辺", "移動しない"};
constexpr int16_t kNoMove = 4;

void Message(const std::string& vstrText) {
  platform::MessageBox().Show(vstrText, platform::vbOKOnly, platform::Application::Title());
}

}  // namespace

void frmSetUp::CreateDisplayPage() {
  platform::IFrame& page = Frame1(0);
  auto Label = [this, &page](int16_t index, const char* caption, double left, double top, double width) {
    auto label = platform::Controls().CreateLabel(page, "Label1", index);
    label->Move(left, top, width, 375);
    label->SetUseMnemonic(true);
    label->SetCaption(caption);
    Label1.Load(std::move(label));
  };
  auto Box = [this, &page](int16_t index, const char* caption, double left, double top, double width) {
    auto box = platform::Controls().CreateCheckBox(page, "Check1", index);
    box->Move(left, top, width, 375);
    box->SetCaption(caption);
    Check1.Load(std::move(box));
  };
  auto Combo = [this, &page](double left, double top, double width) {
    auto combo = platform::Controls().CreateComboBox(page, "Combo1");
    combo->Move(left, top, width, 360);
    const int16_t index = Combo1.Count();
    combo->Change = [this, index] { Combo1_Change(index); };
    combo->Click = [this, index] { Combo1_Click(index); };
    Combo1.Add(std::move(combo));
  };

  // Row 1, row 2, then the font, topmost and edge row; each label before
  // the control its access key leads to.
  Label(0, "１段目(&1)", 240, 120, 1095);
  Box(kUpperRowBox, "表示する", 1560, 120, 1335);
  Label(4, "表示書式(&T)", 3600, 120, 1335);
  Combo(5040, 120, 2655);
  Label(1, "２段目(&2)", 240, 840, 1095);
  Box(kUnderRowBox, "表示する", 1560, 840, 1335);
  Label(5, "表示書式(&B)", 3600, 840, 1335);
  Combo(5040, 840, 2655);

  auto font = platform::Controls().CreateCommandButton(page, "Command1", kFontButton);
  font->Move(240, 1560, 2055, 495);
  font->SetCaption("フォント設定(&F)");
  Command1.Load(std::move(font));
  Box(kTopMostBox, "最前面表示(&W)", 2520, 1560, 1935);
  Label(3, "移動位置(&M)", 4560, 1560, 1335);
  Combo(6120, 1560, 1575);
  Combo1(kMoveSideCombo).SetStyle(2);

  // Etched separators between the rows.
  for (int16_t i = 0; i < 2; ++i) {
    auto line = platform::Controls().CreateLine(page, "Line1", i);
    const double y = i == 0 ? 675 : 1395;
    line->SetEnds(240, y, 7695, y);
    Line1.Load(std::move(line));
  }
}

void frmSetUp::LoadDisplayPage() {
  for (const char* side : kMoveSides) Combo1(kMoveSideCombo).AddItem(side);
  Combo1(kRow1FormatCombo).AddItem(UnderRowFormat);
  Combo1(kRow2FormatCombo).AddItem(UpperRowFormat);
  FormatPresets::FillFormatPresets(Combo1(kRow1FormatCombo), Combo1(kRow2FormatCombo));
  Combo1(kRow1FormatCombo).SetListIndex(0);
  Combo1(kRow2FormatCombo).SetListIndex(0);
  // Showing the stored edge is not choosing it: the clock starts in its top
  // right corner and reaches its own edge at the first jump.
  if (MoveSide >= 0 && MoveSide <= kNoMove) SetQuietly(Combo1(kMoveSideCombo), [this] { Combo1(kMoveSideCombo).SetListIndex(MoveSide); });
}

void frmSetUp::Check1_Click(int16_t Index) {
  platform::ICheckBox& box = Check1(Index);
  if (!box.Enabled()) return;
  const bool checked = box.Value() == platform::vbChecked;
  switch (Index) {
    case kTopMostBox:
      // Taken over when the dialog is left.
      if (checked) Message("この設定は、設定メニュー画面を閉じた後で有効になります");
      else TopMost = false;
      break;
    case kNoTestDllRegBox:
      Message("この設定は、次回起動時から有効になります");
      NoTestDllReg = checked;
      break;
    case kUpperRowBox:
    case kUnderRowBox: {
      const size_t row = Index == kUpperRowBox ? 0 : 1;
      const size_t other = 1 - row;
      mintRows[row] = box.Value();
      // One row always stays: showing the other row clicks its box.
      if (mintRows[row] != 1 && mintRows[other] != 1) Check1(Index == kUpperRowBox ? kUnderRowBox : kUpperRowBox).SetValue(platform::vbChecked);
      if (mProgram.Clock()) mProgram.Clock()->RelayoutClock();
      break;
    }
    case kRepeatBox: TimeSignalRepeat = checked; break;
    case kNoSignalBox: NoUseTimeSignal = checked; break;
    case kPCBuzzerBox: UsePCBuzzer = checked; break;
    default: break;
  }
  basMain::GetTimeSignalKind();
}

void frmSetUp::Combo1_Change(int16_t Index) {
  if (Index != kRow1FormatCombo && Index != kRow2FormatCombo) return;
  FormatPresets::ApplyRowFormats(Combo1(kRow1FormatCombo), Combo1(kRow2FormatCombo));
  if (mProgram.Clock()) mProgram.Clock()->RelayoutClock();
}

void frmSetUp::Combo1_Click(int16_t Index) {
  if (Index == kRow1FormatCombo || Index == kRow2FormatCombo) {
    Combo1_Change(Index);
    return;
  }
  if (Index != kMoveSideCombo || !Combo1(kMoveSideCombo).Enabled()) return;
  const int16_t side = Combo1(kMoveSideCombo).ListIndex();
  if (side < 0) return;
  MoveSide = side;
  if (side != kNoMove && mProgram.Clock()) mProgram.Clock()->PlaceClock(true);
}

void frmSetUp::ChooseClockFont() {
  frmMain* clock = mProgram.Clock();
  if (!clock) return;
  clsCommonDialog1 dialog;
  dialog.SetFont(clock->Label1(0).Font());
  dialog.SetColor(clock->Label1(0).ForeColor());
  dialog.SetForm(mForm.get());
  dialog.SetFlags(kFontFlags);
  dialog.ShowFont();
  if (dialog.CancelError()) return;
  for (int16_t i = 0; i < clock->Label1.Count(); ++i) {
    platform::StdFont font = clock->Label1(i).Font();
    basGeneral::CopyFont(dialog.Font(), font);
    clock->Label1(i).SetFont(font);
    clock->Label1(i).SetForeColor(dialog.Color());
  }
  clock->RelayoutClock();
}
