#pragma once
// The clock window: a window without title bar, with a sizing frame and a
// drawn 3D bevel, holding two text rows that show the date and time in their
// own formats. The rows' font size is fitted to the window; a 500 ms tick
// refreshes them and starts the hourly time signal.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/Timer.h"

class clsBorder3D;

class frmMain {
 public:
  frmMain();
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
  static float FitFontSize(int16_t maxWidth, int16_t maxHeight, const std::string& text,
                           platform::ISurface& surface, float startSize);
  // Keeps the clock on its corner; force makes it jump to the other corner.
  void PlaceClock(bool force);
  // Puts the window in the topmost band (flag −1) or takes it out.
  static void SetTopMost(platform::IForm& window, int16_t flag);
  // Sounds the time signal rintRepeat times.
  void TimeSignal(int16_t rintRepeat);

  // ---- events

  void Form_Load();
  void Form_Paint();
  void Form_Resize();
  void Form_DblClick();
  void Form_KeyDown(int16_t& keyCode, int16_t shift);
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode);
  void Form_Unload(int16_t& cancel);
  void Timer1_Timer();

  // ---- state (read by tests and by the windows that share it)

  int16_t mintResizeCount = 0;
  std::array<float, 2> msngRowFontSize = {0, 0};
  std::array<std::string, 2> mstrRowText;
  // Plays of the time signal still to come after the current one.
  int16_t mintRestRepeatCount = 0;
  // A signal was started for the current full hour / it has ended.
  bool mblnTimeSignalStarted = false;
  bool mblnTimeSignalFinished = false;
  bool mblnUnloaded = false;

 private:
  // The form goes last: the controls on it are released first.
  std::unique_ptr<platform::IForm> mForm;

 public:
  platform::ControlArray<platform::ILabel> Label1;  // (0) top row, (1) bottom row
  std::unique_ptr<platform::ITimer> Timer1;         // the tick
  std::unique_ptr<platform::ITimer> Timer2;         // lent to the melody player

 private:
  std::unique_ptr<clsBorder3D> mBorder;
};
