#include "clock/core/basMain.h"

#include <algorithm>
#include <cctype>

#include "clock/core/DateTimeFormat.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/frmMain.h"
#include "clock/help/basSystem.h"
#include "common/basGeneral.h"
#include "platform/Clock.h"
#include "platform/Services.h"

namespace basMain {

std::string mstrSetUpTitle;
bool mblnSetUpOpen = false;
bool mblnSpeakerReady = false;
int16_t mintCorner = 0;
std::string mpicMainIcon;

std::function<std::string()> gfncTimeSignalText;
int16_t mintTimeSignalKind = 0;

std::function<void()> gfncOpenSoundOutput;
bool mblnNoSoundOutput = false;

void EnsureSoundOutput() {
  if (!gfncOpenSoundOutput) return;
  const auto open = std::move(gfncOpenSoundOutput);
  gfncOpenSoundOutput = nullptr;
  open();
}

std::string TimeSignalText() { return gfncTimeSignalText ? gfncTimeSignalText() : SettingsStore::WavFile; }

int16_t GetTimeSignalKind() {
  using namespace SettingsStore;
  int16_t kind = 4;
  if (NoUseTimeSignal) {
    kind = -1;
  } else {
    const std::string text = TimeSignalText();
    // "MML:*" on the upper-cased text: the prefix in any case, at the very start.
    std::string head = text.substr(0, 4);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (head == "MML:") {
      kind = basSystem::IsWindowsNT() ? 5 : 1;
    } else if (basGeneral::PathExists(text, false) != 0) {  // an empty text counts as a file
      kind = UsePCBuzzer && mblnSpeakerReady ? 2 : 3;
    }
  }
  mintTimeSignalKind = kind;
  return kind;
}

// The settings dialog's routines are in basMainSetUp.cpp, the help's and
// the about box's in basMainHelp.cpp, the start routine in basMainStart.cpp.

void CopyTimeToClipboard() {
  using DateTimeFormat::FormatDateTime;
  platform::IClipboard& clipboard = platform::Clipboard();
  clipboard.Clear();
  const platform::DateTime now = platform::Now();
  clipboard.SetText(FormatDateTime(now, SettingsStore::UpperRowFormat) + " " +
                    FormatDateTime(now, SettingsStore::UnderRowFormat) + "\r\n");
}

}  // namespace basMain
