#pragma once
// The time signal's working-day options, beside the program's other
// settings in the same store and section: the rules of SignalSchedule, the
// desktop's do-not-disturb, the half-hour melody and the signal's volume.
// Every default keeps the signal as it was without them (do-not-disturb is
// heeded unless turned off). LoadSettings and SaveSettings call the two
// routines below.
#include <cstdint>
#include <string>

#include "clock/sound/SignalSchedule.h"

namespace SignalSettings {

inline constexpr const char* kDefaultHalfHourMML = "T120O4A8";
inline constexpr int16_t kFullVolume = 100;

// ---- in-memory copies
inline SignalSchedule::SignalRules Rules;
// Silent while the desktop says not to disturb.
inline bool DoNotDisturb = true;
// The half-hour chime: an MML melody (without the "MML:" prefix).
inline std::string HalfHourMML = kDefaultHalfHourMML;
// 0–100 %, for every way the signal sounds.
inline int16_t SignalVolume = kFullVolume;

// Keys: QuietHours, QuietFrom, QuietTo, ChosenDaysOnly, SignalDays,
// NoHolidaySignal, DoNotDisturb, HalfHourSignal, HalfHourMML, SignalVolume.
// A number out of its range reads as the key's default.
void LoadSignalSettings();
void SaveSignalSettings();
// Sets the sound engine's level from SignalVolume (the square of the
// fraction, so that the steps sound even).
void ApplySignalVolume();

}  // namespace SignalSettings
