#include "support/TestFolders.h"

#include <cstdlib>

namespace kvtest {

namespace fs = std::filesystem;

void UseOwnFolders(const fs::path& root) {
  const fs::path home = root / "home", runtime = root / "runtime";
  for (const fs::path& dir : {home / ".config", home / ".local/share", home / ".cache", runtime}) {
    fs::create_directories(dir);
  }
  fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home / ".cache").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  // Not the machine's: a package installed here must not change the tests.
  setenv("XDG_DATA_DIRS", (root / "machine").c_str(), 1);
  for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
}

void UseTestFolders() {
  if (const char* tmp = std::getenv("KELVORA_TEST_TMP")) UseOwnFolders(tmp);
}

}  // namespace kvtest
