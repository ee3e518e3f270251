#include "clock/core/basMain.h"

namespace basMain {

std::string mstrSetUpTitle;
bool mblnSetUpOpen = false;
bool mblnSpeakerReady = false;
frmMain* gfrmMain = nullptr;
frmSetUp* gfrmSetUp = nullptr;

}  // namespace basMain
