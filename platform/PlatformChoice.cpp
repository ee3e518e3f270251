#include "platform/PlatformChoice.h"

#include <cstring>

namespace platform {
namespace {
bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }
}  // namespace

std::string ChooseWindowingPlatform(const EnvironmentReader& getenv) {
  if (IsSet(getenv("QT_QPA_PLATFORM"))) return {};
  const char* sessionType = getenv("XDG_SESSION_TYPE");
  const bool wayland = IsSet(getenv("WAYLAND_DISPLAY")) || (sessionType && std::strcmp(sessionType, "wayland") == 0);
  if (wayland && IsSet(getenv("DISPLAY"))) return "xcb";
  return {};
}

}  // namespace platform
