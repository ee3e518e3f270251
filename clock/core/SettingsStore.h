#pragma once
// The clock's persistent options: every key of the per-user store, its
// default, the two access routines and the load and save passes, and the
// process-wide in-memory copies that the rest of the program reads and
// changes. The store itself is touched only by the routines below.
#include <array>
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/StdFont.h"

namespace SettingsStore {

// The section every key lives in.
inline constexpr const char* kSection = "Settings";

// ---- in-memory copies (LoadSettings fills them; defaults apply until then)

// Screen edge the clock keeps to: 0 top, 1 right, 2 bottom, 3 left, 4 none.
inline int16_t MoveSide = 3;
// Row visibility, shown when exactly 1: index 0 = top row (key UpperRow),
// index 1 = bottom row (key UnderRow).
inline std::array<int16_t, 2> mintRows = {1, 1};
// Format of the BOTTOM row (the stored pairing crosses the names).
inline std::string UpperRowFormat = "AAAA MM/DD";
// Format of the TOP row.
inline std::string UnderRowFormat = "HH:MM:SS";
inline bool TopMost = false;
inline bool TimeSignalRepeat = false;
inline bool NoUseTimeSignal = false;
inline bool UsePCBuzzer = false;
// The signal text: a WAVE file name, or "MML:" followed by a melody.
inline std::string WavFile;
inline bool NoTestDllReg = false;

// ---- access routines

// The stored text for (application title, "Settings", key), or the default.
std::string GetAppSetting(const std::string& key, const std::string& defaultText = {});
// Stores the text for (application title, "Settings", key).
void SaveAppSetting(const std::string& key, const std::string& text);

// Reads MoveSide, UpperRow, UnderRow, UpperRowFormat, UnderRowFormat, TopMost,
// TimeSignalRepeat, NoUseTimeSignal, UsePCBuzzer, WavFile, NoTestDllReg.
// A stored row format that cannot be applied is replaced by that row's
// default, and the user is told once, with the stored text.
void LoadSettings();
// Writes the rows' font and colour (taken from the top row), then every
// in-memory copy.
void SaveSettings(const platform::StdFont& rowFont, platform::OleColor rowColor);

// The number a key holds (its default text when absent), 0 when it holds none.
double NumericOrZeroOf(const std::string& key, const std::string& defaultText);
// The decoded value of a numeric or boolean key (0 when absent or not a number).
double ReadNumericSetting(const std::string& key);
bool ReadBooleanSetting(const std::string& key);
// A 16-bit key; a number outside the 16-bit range reads as the default.
int16_t ReadInt16Setting(const std::string& key, int16_t defaultValue);
// A colour key (decimal text of a signed 32-bit number); a number outside
// that range reads as the default.
platform::OleColor ReadColorSetting(const std::string& key, platform::OleColor defaultValue);
// The texts written for a boolean (true "-1", false "0").
std::string BooleanText(bool value);

}  // namespace SettingsStore
