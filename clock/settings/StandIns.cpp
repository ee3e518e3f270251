// Temporary: what other branches bring to main, reduced to what keeps this
// branch building and its dialog usable. Deleted when they land.
#include "clock/settings/StandIns.h"

#include <algorithm>
#include <cctype>

#include "clock/core/DateTimeFormat.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "common/basGeneral.h"
#include "platform/Clock.h"
#include "platform/Services.h"

namespace basSystem {
int32_t GetWorkArea(platform::PixelRect& rudtRect) {
  rudtRect = {0, 0, static_cast<int32_t>(platform::Screen().Width() / platform::Screen().TwipsPerPixelX()),
              static_cast<int32_t>(platform::Screen().Height() / platform::Screen().TwipsPerPixelY())};
  return 0;
}
}  // namespace basSystem

namespace standin {
void SpeakerSetWaveFile(frmMain&, std::string&) {}
bool HasSpeaker(const frmMain&) { return false; }
}  // namespace standin

namespace basMain {
int16_t mintCorner = 0;
std::function<std::string()> gfncTimeSignalText;
int16_t mintTimeSignalKind = 0;

std::string TimeSignalText() { return gfncTimeSignalText ? gfncTimeSignalText() : SettingsStore::WavFile; }

int16_t GetTimeSignalKind() {
  using namespace SettingsStore;
  int16_t kind = 4;
  if (NoUseTimeSignal) {
    kind = -1;
  } else {
    const std::string text = TimeSignalText();
    std::string head = text.substr(0, 4);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (head == "MML:") {
      kind = 1;
    } else if (basGeneral::PathExists(text, false) != 0) {
      kind = UsePCBuzzer && mblnSpeakerReady ? 2 : 3;
    }
  }
  mintTimeSignalKind = kind;
  return kind;
}

void OpenHelp() {}
void ShowVersionInfo() {}
void CopyTimeToClipboard() {
  using DateTimeFormat::FormatDateTime;
  platform::IClipboard& clipboard = platform::Clipboard();
  clipboard.Clear();
  const platform::DateTime now = platform::Now();
  clipboard.SetText(FormatDateTime(now, SettingsStore::UpperRowFormat) + " " +
                    FormatDateTime(now, SettingsStore::UnderRowFormat) + "\r\n");
}
}  // namespace basMain
