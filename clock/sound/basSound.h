#pragma once
// WAVE files on the sound device: started in the background, without a
// default sound, and a way to ask whether the last one is still playing.
#include <cstdint>
#include <optional>
#include <string>

namespace basSound {

// Flags of PlayWaveFile (the values of the system's sound call).
inline constexpr int16_t SND_SYNC = 0x0;
inline constexpr int16_t SND_ASYNC = 0x1;
inline constexpr int16_t SND_NODEFAULT = 0x2;
inline constexpr int16_t SND_NOSTOP = 0x10;

// Plays the file, replacing a sound still playing (unless SND_NOSTOP).
// With SND_ASYNC it returns at once; without flags it waits for the end.
// A missing or unreadable file plays nothing (never a default sound) and
// gives false.
bool PlayWaveFile(const std::string& vstrFileName, std::optional<int16_t> vintFlags = std::nullopt);

// True while a sound started by PlayWaveFile is still playing.
bool IsSoundBusy();

}  // namespace basSound
