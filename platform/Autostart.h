#pragma once
// Starting the program at login: the desktop's autostart entry
// $XDG_CONFIG_HOME/autostart/kelvora.desktop (~/.config when unset), a copy
// of the installed desktop entry whose Exec line names the running
// program's real path.
#include <string>

namespace platform {

std::string AutostartEntryPath();
// The entry exists (a file).
bool AutostartEnabled();
// The text written: the installed entry (beside the program's prefix,
// <prefix>/share/applications/kelvora.desktop) or, when there is none, a
// minimal one; Exec and TryExec name vstrProgram.
std::string AutostartEntryText(const std::string& vstrProgram);
// Writes the entry (whole or not at all) / removes it. False, with the
// reason in Japanese, when that failed.
bool EnableAutostart(std::string& rstrError);
bool DisableAutostart(std::string& rstrError);

}  // namespace platform
