#include "platform/Autostart.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "platform/Module.h"

namespace platform {
namespace fs = std::filesystem;
namespace {

constexpr const char* kEntryName = "kelvora.desktop";
// An installed entry is a few hundred bytes; anything larger is not ours.
constexpr std::uintmax_t kMaxEntrySize = 64 * 1024;

constexpr const char* kMinimalEntry =
    "[Desktop Entry]\n"
    "Type=Application\n"
    "Name=Kelvora\n"
    "Comment[ja]=時報付きの小さなデスクトップ時計\n"
    "Exec=Kelvora\n"
    "Icon=kelvora\n"
    "Terminal=false\n";

fs::path ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && fs::path(config).is_absolute()) return config;
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : "/") / ".config";
}

// The program as an argument of an Exec line: quoted, with the characters
// the desktop entry format reserves escaped, then escaped once more as a
// string value.
std::string ExecArgument(const std::string& program) {
  std::string quoted = "\"";
  for (const char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string value;
  for (const char c : quoted) {
    if (c == '\\') value += "\\\\";
    else if (c == '%') value += "%%";
    else value += c;
  }
  return value;
}

std::string InstalledEntry() {
  const fs::path entry = fs::path(ProgramFolder()).parent_path().parent_path() / "share" / "applications" / kEntryName;
  std::error_code error;
  if (!fs::is_regular_file(entry, error) || fs::file_size(entry, error) > kMaxEntrySize || error) return {};
  std::ifstream in(entry, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string AutostartEntryPath() { return (ConfigHome() / "autostart" / kEntryName).string(); }

bool AutostartEnabled() {
  std::error_code error;
  return fs::is_regular_file(AutostartEntryPath(), error);
}

std::string AutostartEntryText(const std::string& vstrProgram) {
  std::string source = InstalledEntry();
  if (source.find("[Desktop Entry]") == std::string::npos) source = kMinimalEntry;
  std::istringstream lines(source);
  std::string text, line;
  bool execWritten = false;
  while (std::getline(lines, line)) {
    if (line.rfind("Exec=", 0) == 0) {
      if (execWritten) continue;
      line = "Exec=" + ExecArgument(vstrProgram);
      execWritten = true;
    } else if (line.rfind("TryExec=", 0) == 0) {
      continue;
    }
    text += line + "\n";
  }
  if (!execWritten) text += "Exec=" + ExecArgument(vstrProgram) + "\n";
  return text;
}

bool EnableAutostart(std::string& rstrError) {
  const fs::path entry = AutostartEntryPath();
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    rstrError = "プログラムの場所が分かりません";
    return false;
  }
  fs::create_directories(entry.parent_path(), error);
  const fs::path temporary = entry.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << AutostartEntryText(program.string());
    out.flush();
    if (!out) error = std::make_error_code(std::errc::io_error);
  }
  if (!error) fs::rename(temporary, entry, error);
  if (error) {
    fs::remove(temporary, error);
    rstrError = "ログイン時の起動を設定できませんでした: " + entry.string();
    return false;
  }
  return true;
}

bool DisableAutostart(std::string& rstrError) {
  std::error_code error;
  fs::remove(AutostartEntryPath(), error);
  if (error) {
    rstrError = "ログイン時の起動をやめられませんでした: " + AutostartEntryPath();
    return false;
  }
  return true;
}

}  // namespace platform
