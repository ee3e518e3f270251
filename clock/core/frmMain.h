#pragma once
// The clock window: a window without title bar, with a sizing frame and a
// drawn 3D bevel, holding two text rows that show the date and time in their
// own formats. The rows' font size is fitted to the window; a 500 ms tick
// refreshes them, keeps the clock in its corner and starts the hourly time
// signal.
//
// The implementation is split by behaviour: frmMain.cpp (rows, tick, load
// and unload), frmMainPlacement.cpp (corners, topmost, dragging, pointer),
// frmMainTimeSignal.cpp (the hourly signal and its repetitions),
// frmMainMenu.cpp (the popup menu).
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <string>

#include "clock/sound/SpeakerControl.h"
#include "platform/Clock.h"
#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/Menu.h"
#include "platform/PhaseLockedTimer.h"
#include "platform/Timer.h"

namespace DateTimeLocale {
struct LocaleData;
}
class Program;
class clsBorder3D;
class clsIOMML;
class clsPlayMML;

class frmMain {
 public:
  // A full hour whose trigger second passed without a tick (a stalled
  // message loop) is still signalled by a tick within its first seconds.
  static constexpr int32_t kTimeSignalWindow = 5;

  // The program it belongs to reaches the settings dialog and the help.
  explicit frmMain(Program& program);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  platform::IForm& Form() const { return *mForm; }

  // ---- operations other windows call

  // Refreshes both rows; force re-applies their font size and position.
  void UpdateRows(bool force);
  // Fits the rows' font sizes to the window (busy pointer meanwhile) and
  // re-applies size and position.
  void RelayoutClock();
  // Fits the shown rows' font sizes to the window.
  void ComputeRowFontSizes();
  // The largest font size, in 0.75-point steps, at which the text fits into
  // maxWidth × maxHeight twips on the surface; 0 when the area is empty.
  static float FitFontSize(int32_t maxWidth, int32_t maxHeight, const std::string& text,
                           platform::ISurface& surface, float startSize);

  // Moves the window into a corner of the work area (0 top right, 1 bottom
  // right, 2 bottom left, 3 top left; others move nothing). Returns true.
  static bool MoveToCorner(platform::IForm& window, int16_t corner, int16_t check);
  // Keeps the clock in its corner; force makes it jump to the other corner
  // of its edge.
  void PlaceClock(bool force);
  // True when the clock window is where its corner puts it (the window
  // system may refuse the program's placement).
  bool IsInCorner() const;
  // Puts the window in the topmost band (flag −1) or takes it out.
  static void SetTopMost(platform::IForm& window, int16_t flag);
  // Starts the platform's window-move loop, as a press on a title bar does.
  static void BeginWindowDrag(platform::IForm& window);

  // Sounds the time signal rintRepeat times.
  void TimeSignal(int16_t rintRepeat);
  // Takes the PC-buzzer control that start-up created (nullptr: none).
  void SetSpeaker(std::unique_ptr<ISpeakerControl> vobjSpeaker);
  // The load's last step, the check of the PC-buzzer control; sets
  // mblnSpeakerReady. The start routine calls it right after Form_Load.
  void CheckSpeaker();
  // Puts the date and time into the tray icon's tooltip.
  void ShowTimeInTray(const platform::DateTime& now);

  // ---- events

  void Form_Load();
  void Form_Paint();
  void Form_Resize();
  void Form_DblClick();
  void Form_KeyDown(int16_t& keyCode, int16_t shift);
  void Form_MouseDown(int16_t button, int16_t shift, double x, double y);
  void Form_MouseMove(int16_t button, int16_t shift, double x, double y);
  void Label1_MouseDown(int16_t index, int16_t button, int16_t shift, double x, double y);
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode);
  void Form_Unload(int16_t& cancel);
  void Timer1_Timer();
  void mcPlayMML_Done(int16_t& vblnTimerStop);
  void Speaker_Done();
  void mnuSetUp_Click();
  void mnuCopy_Click();
  void mnuHelp2_Click();
  void mnuVer1_Click();
  void mnuEnd_Click();

  // ---- state (read by tests and by the windows that share it)

  int16_t mintResizeCount = 0;
  // The inner size the rows were last fitted to.
  std::optional<std::pair<double, double>> mLaidOutSize;
  std::array<float, 2> msngRowFontSize = {0, 0};
  std::array<std::string, 2> mstrRowText;
  // Plays of the time signal still to come after the current one.
  int16_t mintRestRepeatCount = 0;
  // A signal was started for the current full hour / it has ended.
  bool mblnTimeSignalStarted = false;
  bool mblnTimeSignalFinished = false;
  // The current full hour has had its signal; cleared by the first tick
  // after the hour's first seconds.
  bool mblnHourSignalled = false;
  // The coming (or current) full hour's signal was started ahead of it.
  bool mblnSignalledAhead = false;
  // The kind of the signal now sounding. The process-wide kind can change
  // meanwhile (the settings dialog computes it again on every change).
  int16_t mintSignalKind = 0;
  bool mblnUnloaded = false;

 private:
  Program& mProgram;
  // The form goes last: the controls on it are released first.
  std::unique_ptr<platform::IForm> mForm;

 public:
  platform::ControlArray<platform::ILabel> Label1;        // (0) top row, (1) bottom row
  std::unique_ptr<platform::PhaseLockedTimer> Timer1;     // the tick
  std::unique_ptr<platform::ITimer> Timer2;               // lent to the melody player
  platform::Menu mnuPopUp;                                // the clock's popup menu
  std::unique_ptr<ISpeakerControl> Speaker;               // the PC buzzer, when usable
  // The melody player of the current signal (borrows Timer2, so it is
  // declared after it and released before it) and the parsed melody.
  std::unique_ptr<clsPlayMML> mcPlayMML;
  std::shared_ptr<clsIOMML> mobjMML;

 private:
  bool TimeSignalTrigger(const platform::DateTime& now);
  // Starts the signal of the full or half hour slot.
  void StartHourSignal(const platform::DateTime& slot);
  // On a sound device the last tick before a full (or half) hour starts its
  // signal, stamped to be heard at that moment itself.
  void StartHourSignalEarly(const platform::DateTime& now);
  // The user's rules for the signal (quiet hours, days, the desktop's
  // do-not-disturb), asked once per full or half hour (frmMainSchedule.cpp).
  bool SignalAllowed(const platform::DateTime& now);
  // Asks the desktop's do-not-disturb state ahead of a signal.
  void PrepareSignal(const platform::DateTime& now);
  // The half-hour chime: its own melody, once.
  void HalfHourSignal();
  int64_t mlngDecidedSlot = -1;
  bool mblnSlotSounds = false;
  void RepeatWaveSignal();
  void UpdateRowsBetweenPlays();
  void FinishSignal();
  void CreatePopupMenu();
  // The row under a point of the form, or −1.
  int16_t RowAt(double x, double y) const;

  std::unique_ptr<clsBorder3D> mBorder;
  // The user's locale data, read once.
  const DateTimeLocale::LocaleData* mLocale;
};
