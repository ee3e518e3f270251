#pragma once
// The start-up module: the program's process-wide state, alive for the whole
// run. The start routine fills it; the windows read and change it.
#include <string>

class frmMain;
class frmSetUp;

namespace basMain {

// The heading text the settings dialog shows when it loads.
extern std::string mstrSetUpTitle;
// True while the settings dialog is open for editing (on screen); false
// while it is parked off-screen.
extern bool mblnSetUpOpen;
// True when the PC-buzzer control was found usable at start-up.
extern bool mblnSpeakerReady;

// The clock window and the settings dialog of this run; nullptr before they
// are created and after they are unloaded.
extern frmMain* gfrmMain;
extern frmSetUp* gfrmSetUp;

}  // namespace basMain
