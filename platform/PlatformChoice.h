#pragma once
// Which windowing platform the program asks Qt for, decided from the
// environment before the application object exists.
#include <functional>
#include <string>

namespace platform {

// Reads an environment variable; nullptr when it is not set.
using EnvironmentReader = std::function<const char*(const char*)>;

// "xcb" on a Wayland session that also offers an X display (XWayland): a
// Wayland client may not place its own windows, and the clock docks, jumps,
// parks its settings window off-screen and stays on top. Empty otherwise,
// and always when the user chose a platform with QT_QPA_PLATFORM.
std::string ChooseWindowingPlatform(const EnvironmentReader& getenv);

}  // namespace platform
