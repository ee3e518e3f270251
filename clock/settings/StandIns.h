#pragma once
// Temporary: declarations of routines that other branches bring to main
// (the clock window's work area and buzzer). Deleted when they land.
#include <cstdint>
#include <string>

#include "platform/Surface.h"

class frmMain;

namespace basSystem {
int32_t GetWorkArea(platform::PixelRect& rudtRect);
}

namespace standin {
// clock.Speaker->SetWaveFile(file) once the clock window has its buzzer.
void SpeakerSetWaveFile(frmMain& clock, std::string& file);
bool HasSpeaker(const frmMain& clock);
}  // namespace standin
