#pragma once
// The start-up module: the program's process-wide state, alive for the whole
// run. The start routine fills it; the windows read and change it. Also the
// routines that the clock's menu and the settings dialog share.
#include <cstdint>
#include <functional>
#include <string>

class Program;

namespace platform {
class Application;
class IForm;
}  // namespace platform

namespace basMain {

// ---- the start routine

// Starts the program: ends at once when another copy runs; otherwise loads
// the settings, the clock window and the settings dialog (parked off the
// screen), shows the clock and runs until the last window has closed.
// Returns the program's exit code; the windows are released before.
int Main(Program& program);
// Main's steps up to the clock on the screen; false when another copy runs
// (nothing is loaded then). The program's ReleaseWindows lets them go.
bool StartUp(Program& program);
// True when another copy of the program already runs; that copy has been
// asked to restore its last active window when it is minimised.
bool IsPreviousInstanceRunning(platform::Application& app);

// The heading text the settings dialog shows when it loads.
extern std::string mstrSetUpTitle;
// True while the settings dialog is open for editing (on screen); false
// while it is parked off-screen.
extern bool mblnSetUpOpen;
// True when the PC-buzzer control was found usable at start-up.
extern bool mblnSpeakerReady;

// The corner the clock sits in: 0 top right, 1 bottom right, 2 bottom
// left, 3 top left. 0 at program start, not stored.
extern int16_t mintCorner;

// The clock window's icon as loaded (a picture file), kept for the about box.
extern std::string mpicMainIcon;

// Unloads the help window if it is open.
void UnloadHelpWindow(Program& program);

// ---- the time-signal text and kind

// Where the signal text lives while the settings dialog is loaded: its
// field Text1. The dialog sets this when it loads and clears it when it
// unloads.
extern std::function<std::string()> gfncTimeSignalText;
// The signal text: the settings dialog's field when there is one, else the
// WavFile setting.
std::string TimeSignalText();

// Opens the sound device the first time something is to sound (its
// libraries are large; a clock whose signal never sounds does without
// them). Does nothing until the start routine sets it up.
void EnsureSoundOutput();
// The start routine's way of opening the sound device; empty in tests.
extern std::function<void()> gfncOpenSoundOutput;
// Set when the machine turned out to have no sound device: what would sound
// is silent.
extern bool mblnNoSoundOutput;

// The signal kind chosen by the last GetTimeSignalKind.
extern int16_t mintTimeSignalKind;
// −1 signal off; 1 MML; 5 MML on Windows NT; 2 an existing file on the PC
// buzzer; 3 an existing file on the sound device; 4 no such file.
int16_t GetTimeSignalKind();

// ---- shared actions of the clock's menu and the settings dialog

// Brings the parked settings dialog on screen.
void OpenSettingsDialog(Program& program);
// Gives the open settings dialog the input focus; a failure is ignored.
void FocusSettingsDialog(Program& program);
// Unloads the settings dialog, which ends the program.
void UnloadSettingsDialog(Program& program);
// Opens the help document.
void OpenHelp(Program& program);
// Shows the about box, modally.
void ShowVersionInfo(Program& program);
// Puts the date and time on the clipboard: the bottom row's format, a blank,
// the top row's format, CR LF.
void CopyTimeToClipboard();

// ---- parking the settings dialog

// Moves a window to Left = −Width, Top = −Height: it counts as shown (its
// taskbar entry stays) but cannot be seen. Under a window manager, which
// keeps windows on the screen, the window is iconified instead (centred,
// where the settings open). Where the window system places windows itself
// (a Wayland session without X), the window is hidden, and its taskbar
// entry goes with it.
void MoveOffScreen(platform::IForm& window);
// True once the parked dialog was seen on the screen with no way to park it.
extern bool mblnPlacementRefused;
// Some time after the start: checks that the parked settings dialog shows
// nothing (iconified, or off the screen; else it is iconified now or
// hidden) and that the clock sits in its corner; true when it does. A clock
// that cannot dock at the last look gets the user told, once (a settings
// key remembers it).
bool CheckPlacementHonoured(Program& program, bool vblnLastLook = true);
// Gives the settings dialog's system menu, taken afresh from the standard
// one, a separator and the item "設定(&O)" (command 512) in place of its
// second item.
void AddSettingsMenuItem(Program& program);

}  // namespace basMain
