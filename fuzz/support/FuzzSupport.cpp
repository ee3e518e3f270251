#include "fuzz/support/FuzzSupport.h"

#include <sys/stat.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/Application.h"

// The sanitizers' report channel, which stays open when the fuzzer closes
// the program's stderr (absent in builds without sanitizers).
extern "C" __attribute__((weak)) void __sanitizer_report_error_summary(const char* summary);

namespace fuzz {
namespace {

namespace fs = std::filesystem;

void RemoveScratch() {
  std::error_code ignored;
  fs::remove_all(ScratchDir(), ignored);
}

}  // namespace

const std::string& ScratchDir() {
  // Never destroyed: the exit handler that removes the folder needs it.
  static const std::string& dir = *new std::string([] {
    // Memory-backed when possible: targets write a file per input.
    const fs::path base = fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm")
                                                                                           : fs::temp_directory_path();
    const fs::path path = base / ("kelvora-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    std::atexit(RemoveScratch);
    return path.string();
  }());
  return dir;
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchDir() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) Fail("cannot write the scratch file " + path);
  return path;
}

namespace {
// Ended by StopPlatform, never by an exit handler: Qt cannot end after the
// program's statics are gone.
platform::Application* gApp = nullptr;
}  // namespace

void StartPlatform() {
  platform::Application*& app = gApp;
  if (app) return;
  const std::string runtime = ScratchDir() + "/runtime";
  fs::create_directories(runtime);
  ::chmod(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  setenv("HOME", ScratchDir().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (ScratchDir() + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (ScratchDir() + "/data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (ScratchDir() + "/cache").c_str(), 1);
  for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_LOGGING_RULES", "qt.qpa.*=false", 1);
  setenv("LANG", "ja_JP.UTF-8", 1);
  unsetenv("LC_ALL");
  unsetenv("LC_TIME");
  setenv("TZ", "Asia/Tokyo", 1);
  tzset();
  static int argc = 1;
  static char name[] = "kelvora-fuzz";
  static char* argv[] = {name, nullptr};
  app = new platform::Application(argc, argv, "Kelvora");
}

void StopPlatform() {
  delete gApp;
  gApp = nullptr;
}

void Fail(const std::string& what) {
  const std::string summary = "FINDING: " + what;
  if (__sanitizer_report_error_summary) __sanitizer_report_error_summary(summary.c_str());
  else std::fprintf(stderr, "%s\n", summary.c_str());
  std::fflush(stderr);
  std::abort();
}

void ExpectDefinedError(const platform::RuntimeError& error, std::initializer_list<int32_t> numbers) {
  for (int32_t n : numbers) {
    if (error.Number() == n) return;
  }
  Fail("run-time error " + std::to_string(error.Number()) + " (" + error.Description() + ") is not an outcome of bad input here");
}

bool IsUtf8(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

}  // namespace fuzz
