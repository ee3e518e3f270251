#include "clock/core/frmMain.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "clock/core/DateTimeFormat.h"
#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basFormPosition.h"
#include "clock/core/basMain.h"
#include "clock/help/basComponents.h"
#include "clock/help/basSystem.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/SignalSettings.h"
#include "clock/sound/clsPlayMML.h"
#include "clock/widgets/clsBorder3D.h"
#include "common/basGeneral.h"
#include "platform/Sound.h"
#include "platform/Checked.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/TrayIcon.h"

using namespace SettingsStore;
using DateTimeFormat::FormatDateTime;
using basGeneral::TwipsPerPixelX;
using basGeneral::TwipsPerPixelY;
using platform::checked::CLng;

namespace {

// Design size of the inner area, twips.
constexpr double kDesignWidth = 1560;
constexpr double kDesignHeight = 1125;

}  // namespace

frmMain::frmMain(Program& program) : mProgram(program), mLocale(&DateTimeLocale::Current()) {
  platform::FormStyle style;
  style.Name = "frmMain";
  style.Caption = "";
  style.BorderStyle = platform::vbSizable;
  style.ControlBox = false;
  style.ShowInTaskbar = false;
  mForm = platform::Controls().CreateForm(style);
  mForm->Move(0, 0, kDesignWidth, kDesignHeight);

  for (int16_t i = 0; i < 2; ++i) {
    auto label = platform::Controls().CreateLabel(*mForm, "Label1", i);
    label->SetAutoSize(true);
    label->SetBackStyle(0);
    label->MouseDown = [this, i](int16_t button, int16_t shift, double x, double y) {
      Label1_MouseDown(i, button, shift, x, y);
    };
    Label1.Add(std::move(label));
  }
  // The tick keeps step with the wall clock: it falls just after every full
  // and half second.
  Timer1 = std::make_unique<platform::PhaseLockedTimer>(platform::Controls().CreateTimer());
  Timer1->OwnerTimer = [this] { Timer1_Timer(); };
  Timer1->SetInterval(500);
  Timer1->SetEnabled(true);
  Timer2 = platform::Controls().CreateTimer();
  CreatePopupMenu();

  platform::FormEvents& events = mForm->Events;
  events.Paint = [this] { Form_Paint(); };
  events.Resize = [this] { Form_Resize(); };
  events.DblClick = [this] { Form_DblClick(); };
  events.KeyDown = [this](int16_t& keyCode, int16_t shift) { Form_KeyDown(keyCode, shift); };
  events.MouseDown = [this](int16_t button, int16_t shift, double x, double y) { Form_MouseDown(button, shift, x, y); };
  // Movement over a row passes through the row to the window, but it is
  // the row's, and the rows do not handle it.
  events.MouseMove = [this](int16_t button, int16_t shift, double x, double y) {
    if (RowAt(x, y) < 0) Form_MouseMove(button, shift, x, y);
  };
  events.QueryUnload = [this](int16_t& cancel, int16_t mode) { Form_QueryUnload(cancel, mode); };
  events.Unload = [this](int16_t& cancel) { Form_Unload(cancel); };
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  mForm->SetCaption("");

  // Font and colour of both rows from the settings.
  platform::StdFont font = Label1(0).Font();
  font.Name = GetAppSetting("FontName", basGeneral::DefaultGuiFontFace(*mForm));
  // A weight or colour the program cannot use reads as the key's default.
  font.Weight = ReadInt16Setting("FontWeight", 400);
  font.Bold = ReadBooleanSetting("FontBold");
  font.Italic = ReadBooleanSetting("FontItalic");
  font.Strikethrough = ReadBooleanSetting("FontStrikethrough");
  font.Underline = ReadBooleanSetting("FontUnderline");
  // Absent in older files: the face's own width, as before.
  font.Stretch = ReadInt16Setting("FontStretch", 0);
  Label1(0).SetForeColor(ReadColorSetting("FontColor", platform::SystemColor(platform::COLOR_BTNTEXT)));
  Label1(1).SetForeColor(Label1(0).ForeColor());
  for (int16_t i = 0; i < 2; ++i) {
    platform::StdFont rowFont = Label1(i).Font();
    basGeneral::CopyFont(font, rowFont);
    Label1(i).SetFont(rowFont);
  }

  mBorder = std::make_unique<clsBorder3D>();
  mBorder->SetCanvas(mForm.get());
  mBorder->SetClient(mForm.get());
  mBorder->SetStyle3D(5);
  mBorder->SetBevelInner(2);
  mBorder->SetBevelOuter(1);

  const platform::IScreen& screen = platform::Screen();
  basFormPosition::RestoreFormPosition(*mForm, false, platform::checked::CLng(screen.Width() / 10),
                                       platform::checked::CLng(screen.Height() / 10), "Main");
  if (MoveSide != 4) PlaceClock(false);
  SetTopMost(*mForm, TopMost ? -1 : 0);
}

// The last step of the load, run by the start routine right after
// Form_Load (windows loaded by tests skip it): the PC-buzzer control, where
// the machine may have a speaker, checked (and registered when it is
// missing) through the component helper, then created with the signal's
// WAVE file.
void frmMain::CheckSpeaker() {
  basMain::mblnSpeakerReady = false;
  if (basSystem::IsWindowsNT() || basSystem::GetMachineType() == 1) return;
  if (!basComponents::CheckComponent(basComponents::kSpeakerFile, kSpeakerClass, NoTestDllReg)) return;
  std::unique_ptr<ISpeakerControl> speaker = CreateSpeakerControl();
  if (!speaker) return;
  std::string file = WavFile;
  speaker->SetWaveFile(file);
  SetSpeaker(std::move(speaker));
  basMain::mblnSpeakerReady = true;
}

void frmMain::UpdateRows(bool force) {
  const double sw = mForm->ScaleWidth();
  const double sh = mForm->ScaleHeight();
  const double px = TwipsPerPixelX();
  const double py = TwipsPerPixelY();
  const bool bothShown = mintRows[0] == 1 && mintRows[1] == 1;
  const std::array<const std::string*, 2> formats = {&UnderRowFormat, &UpperRowFormat};
  const platform::DateTime now = platform::Now();

  for (int16_t row = 0; row < 2; ++row) {
    platform::ILabel& label = Label1(row);
    if (mintRows[row] != 1) {
      label.SetVisible(false);
      label.SetCaption("");
      continue;
    }
    std::string text = FormatDateTime(now, *formats[row], *mLocale);
    if (row == 0) text = basGeneral::TrimBlanks(text);

    if (force) {
      label.SetVisible(false);
      mstrRowText[row] = text;
      label.SetCaption(text);
      if (msngRowFontSize[row] > 0) label.SetFontSize(msngRowFontSize[row]);
      const double w = label.Width();
      const double h = label.Height();
      double left = 0, top = 0;
      if (row == 0) {
        left = (sw - w) / 2;
        top = bothShown ? 3 * py : (sh - h) / 2 + 3 * py;
      } else {
        left = (sw - w) / 2 + px;
        top = bothShown ? (sh - Label1(0).Height() - h) / 2 + Label1(0).Height() : (sh - h) / 2 + 2 * py;
      }
      label.Move(left, top, w, h);
      label.SetVisible(true);
    } else if (text != mstrRowText[row]) {
      label.SetCaption(text);
      mstrRowText[row] = text;
    }
  }
}

void frmMain::RelayoutClock() {
  basGeneral::SetBusyCursor(true);
  ComputeRowFontSizes();
  basGeneral::SetBusyCursor(false);
  UpdateRows(true);
}

void frmMain::ComputeRowFontSizes() {
  mLaidOutSize = std::pair{mForm->ScaleWidth(), mForm->ScaleHeight()};
  const platform::DateTime now = platform::Now();
  const std::string s0 = FormatDateTime(now, UnderRowFormat, *mLocale) + " ";
  const std::string s1 = FormatDateTime(now, UpperRowFormat, *mLocale) + " ";
  const double w = mForm->ScaleWidth() - 6.0 * TwipsPerPixelX();
  const double hall = mForm->ScaleHeight() - 6.0 * TwipsPerPixelY();

  auto takeFontOf = [this](int16_t row) {
    platform::StdFont font = mForm->Font();
    basGeneral::CopyFont(Label1(row).Font(), font);
    mForm->SetFont(font);
  };
  switch (mintRows[1] * 2 + mintRows[0]) {
    case 3:
      takeFontOf(0);
      msngRowFontSize[0] = FitFontSize(CLng(w), CLng(2 * hall / 3), s0, *mForm, 0);
      takeFontOf(1);
      msngRowFontSize[1] = FitFontSize(CLng(w), CLng(hall / 3), s1, *mForm, 0);
      break;
    case 2:
      takeFontOf(1);
      msngRowFontSize[1] = FitFontSize(CLng(w), CLng(hall), s1, *mForm, 0);
      break;
    case 1:
      takeFontOf(0);
      msngRowFontSize[0] = FitFontSize(CLng(w), CLng(hall), s0, *mForm, 0);
      break;
    default:
      break;
  }
}

namespace {

// Growing ends here, far beyond any window (49 152 points).
constexpr int64_t kMaxGrowth = 65536;

// One pass of the fitting, as a walk: from the start size, steps of 0.75
// point down while the text is too large (the first size that fits), or up
// while it is still smaller than the limit (the size before the first that
// reaches it); returns the size. The walk is not taken step by step: sizes
// ahead are probed at doubling distances and the stretch where the answer
// lies is halved, which gives the walk's answer in a few measurements
// because the text's extent does not shrink as the size grows. A surface
// that does not keep sizes in 0.75-point steps is walked step by step.
float FitOneDimension(platform::ISurface& surface, double maxExtent, double startSize,
                      const std::function<double()>& measure) {
  surface.SetFontSize(startSize);
  const float first = static_cast<float>(surface.FontSize());
  const int step = measure() > maxExtent ? 1 : -1;
  if (first == 0 || (measure() - maxExtent) * step <= 0) return first;

  // The size k steps from the first, and whether the walk stops there.
  const auto sizeAt = [&](int64_t k) { return first - 0.75f * static_cast<float>(step) * static_cast<float>(k); };
  bool onGrid = true;
  const auto stopsAt = [&](int64_t k) {
    const float size = sizeAt(k);
    surface.SetFontSize(size);
    onGrid = onGrid && static_cast<float>(surface.FontSize()) == size;
    return (measure() - maxExtent) * step <= 0;
  };
  // Shrinking ends at the last size above 0 whether it fits or not;
  // growing, far beyond any window, at kMaxGrowth steps.
  int64_t last = kMaxGrowth;
  if (step == 1) {
    last = static_cast<int64_t>(std::floor(first / 0.75f)) + 1;
    while (last > 0 && sizeAt(last) <= 0) --last;
    if (last < 1) return first;
  }

  int64_t below = 0;  // the walk goes on at this step
  int64_t at = 1;     // and stops here
  while (!stopsAt(at) && onGrid) {
    below = at;
    if (at == last) break;
    at = std::min(at * 2, last);
  }
  if (onGrid && below != at) {
    while (at - below > 1 && onGrid) {
      const int64_t mid = below + (at - below) / 2;
      if (stopsAt(mid)) at = mid;
      else below = mid;
    }
  }
  if (!onGrid) {
    // Sizes snap elsewhere: the walk itself, step by step.
    surface.SetFontSize(first);
    float cur = first, prev = 0;
    while (cur != prev && (measure() - maxExtent) * step > 0) {
      prev = cur;
      const float next = cur - 0.75f * static_cast<float>(step);
      if (next <= 0) break;
      surface.SetFontSize(next);
      cur = static_cast<float>(surface.FontSize());
    }
    if (prev != 0 && step == -1) {
      surface.SetFontSize(prev);
      cur = static_cast<float>(surface.FontSize());
    }
    return cur;
  }
  // Shrinking stops where it fits, growing steps back from where it reached
  // the limit; either stays at its last size when it never stops.
  const float size = step == 1 || below == at ? sizeAt(at) : sizeAt(at - 1);
  surface.SetFontSize(size);
  return static_cast<float>(surface.FontSize());
}

}  // namespace

float frmMain::FitFontSize(int32_t maxWidth, int32_t maxHeight, const std::string& text, platform::ISurface& surface,
                           float startSize) {
  using platform::checked::Div;
  if (maxWidth < 1 || maxHeight < 1) return 0;
  const double orig = surface.FontSize();

  const double heightStart =
      startSize != 0 ? startSize : Div(maxHeight * surface.FontSize(), surface.TextHeight(text));
  const float hFit = FitOneDimension(surface, maxHeight, heightStart, [&] { return surface.TextHeight(text); });

  const double widthStart = startSize != 0 ? startSize : Div(maxWidth * surface.FontSize(), surface.TextWidth(text));
  const float wFit = FitOneDimension(surface, maxWidth, widthStart, [&] { return surface.TextWidth(text); });

  surface.SetFontSize(orig);
  return std::min(hFit, wFit);
}

void frmMain::Form_Paint() {
  mForm->Cls();
  if (mBorder) mBorder->Draw();
}

void frmMain::Form_Resize() {
  if (mintResizeCount == 0) {
    ++mintResizeCount;
    // The first notification comes when the window is shown; the rows were
    // laid out before, unless the window changed its size meanwhile (the
    // least size the work area gives it).
    if (!mLaidOutSize || *mLaidOutSize == std::pair{mForm->ScaleWidth(), mForm->ScaleHeight()}) return;
  }
  RelayoutClock();
  if (MoveSide != 4) PlaceClock(false);
  SetTopMost(*mForm, TopMost ? -1 : 0);
}

void frmMain::Form_DblClick() {}

void frmMain::Form_KeyDown(int16_t& keyCode, int16_t shift) {
  // Alt+F4 ends the program: the settings dialog's unload first (it unloads
  // this window too), then this window; other keys do nothing.
  if (keyCode != platform::vbKeyF4 || !(shift & platform::vbAltMask)) return;
  basMain::UnloadSettingsDialog(mProgram);
  mForm->Unload();
}

void frmMain::Form_QueryUnload(int16_t&, int16_t unloadMode) {
  // Closed by the user's close command (Alt+F4 that a window manager turns
  // into a close, a window menu's close): the program ends as by Alt+F4,
  // through the settings dialog's unload. Never cancelled.
  if (unloadMode == 0 && !mblnUnloaded && mProgram.SetUp()) basMain::UnloadSettingsDialog(mProgram);
}

void frmMain::Form_Unload(int16_t&) {
  if (mblnUnloaded) return;
  mblnUnloaded = true;
  if (basMain::mblnSpeakerReady && Speaker) Speaker->Release();
  try {
    // Placement and settings reach the file in one write.
    platform::SettingsBatch batch(platform::SettingsStore());
    basFormPosition::SaveFormPosition(*mForm, false, "Main");
    SaveSettings(Label1(0).Font(), Label1(0).ForeColor());
    batch.Commit();
  } catch (const platform::RuntimeError& error) {
    // The store could not be written (a read-only folder, a full disk):
    // say so rather than end with a crash.
    basGeneral::ReportError(error);
  }
  mcPlayMML.reset();
  mobjMML.reset();
}

// The tick. A tick of a full hour's trigger belongs to the time signal and
// does nothing else; while repetitions are pending, it only serves the
// repetition of a WAVE file on the sound device.
void frmMain::Timer1_Timer() {
  try {
    if (mintRestRepeatCount < 1) {
      const platform::DateTime now = platform::Now();
      if (TimeSignalTrigger(now)) {
        if (!mblnTimeSignalStarted && !mblnHourSignalled && !mblnSignalledAhead) StartHourSignal(now);
        return;
      }
      UpdateRows(false);
      ShowTimeInTray(now);
      // The sound device is ready before the first full hour sounds.
      if (!NoUseTimeSignal && (now.Minute == 59 || (now.Minute == 29 && SignalSettings::Rules.HalfHour)) &&
          now.Second >= 50) {
        basMain::EnsureSoundOutput();
        platform::PrepareSoundOutput();
      }
      PrepareSignal(now);
      if (MoveSide != 4) PlaceClock(false);
      if (mblnTimeSignalFinished) mblnTimeSignalStarted = mblnTimeSignalFinished = false;
      if ((now.Minute != 0 && now.Minute != 30) || now.Second >= kTimeSignalWindow) mblnHourSignalled = false;
      StartHourSignalEarly(now);
    } else {
      RepeatWaveSignal();
    }
  } catch (const std::logic_error&) {
    throw;  // a programming error stops the program
  } catch (const std::exception& e) {
    basGeneral::ReportError(e);
  }
}

// The tray icon (where there is one) shows the date and time as the
// clipboard copy has them, both rows' formats, shown or not.
void frmMain::ShowTimeInTray(const platform::DateTime& now) {
  if (!platform::ServiceSlot<platform::ITrayIcon>::Installed() || !platform::TrayIcon().Visible()) return;
  const std::string text = FormatDateTime(now, UpperRowFormat, *mLocale) + " " + FormatDateTime(now, UnderRowFormat, *mLocale);
  if (text != platform::TrayIcon().ToolTip()) platform::TrayIcon().SetToolTip(text);
}

int16_t frmMain::RowAt(double x, double y) const {
  for (int16_t row = 0; row < 2; ++row) {
    const platform::ILabel& label = Label1(row);
    if (label.Visible() && x >= label.Left() && x < label.Left() + label.Width() && y >= label.Top() &&
        y < label.Top() + label.Height()) {
      return row;
    }
  }
  return -1;
}
