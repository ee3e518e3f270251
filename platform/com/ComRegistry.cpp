#include "platform/com/ComRegistry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "platform/SafeFile.h"

namespace platform::com {
namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) extra = 1, code = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) extra = 2, code = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) extra = 3, code = c & 0x07;
    else return false;
    if (i + extra >= text.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

std::optional<std::string> Unescape(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::string Escape(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

// A decimal number of at most 5 digits up to 65535.
std::optional<uint16_t> ParseWord(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(value);
}

std::optional<uint32_t> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    const int digit = detail::HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

const ClassRegistration* ComponentRegistry::FindClass(const Guid& clsid) const {
  for (const ClassRegistration& entry : Classes) {
    if (entry.CLSID == clsid) return &entry;
  }
  return nullptr;
}

const ClassRegistration* ComponentRegistry::FindProgID(std::string_view progId) const {
  for (auto entry = Classes.rbegin(); entry != Classes.rend(); ++entry) {
    if (!progId.empty() && SameTextIgnoringCase(entry->ProgID, progId)) return &*entry;
  }
  return nullptr;
}

const TypeLibRegistration* ComponentRegistry::FindTypeLib(const Guid& libid) const {
  for (const TypeLibRegistration& entry : TypeLibs) {
    if (entry.LIBID == libid) return &entry;
  }
  return nullptr;
}

const TypeLibRegistration* ComponentRegistry::FindTypeLibByName(std::string_view name) const {
  for (auto entry = TypeLibs.rbegin(); entry != TypeLibs.rend(); ++entry) {
    if (!name.empty() && SameTextIgnoringCase(entry->Name, name)) return &*entry;
  }
  return nullptr;
}

std::optional<ComponentRegistry> ParseComponentRegistry(std::string_view bytes) {
  if (!bytes.empty() && bytes.back() != '\n') return std::nullopt;  // torn
  if (bytes.find('\0') != std::string_view::npos || !IsUtf8(bytes)) return std::nullopt;

  ComponentRegistry registry;
  std::set<std::pair<int, Guid>> sections;
  std::set<std::string> keys;
  enum { None, Class, TypeLib } kind = None;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      if (line.back() != ']') return std::nullopt;
      const std::string_view header = line.substr(1, line.size() - 2);
      const size_t space = header.find(' ');
      if (space == std::string_view::npos) return std::nullopt;
      const std::string_view name = header.substr(0, space);
      const std::optional<Guid> id = ParseGuid(header.substr(space + 1));
      if (!id) return std::nullopt;
      if (name == "Class") {
        kind = Class;
        registry.Classes.push_back({*id, {}, {}, {}});
      } else if (name == "TypeLib") {
        kind = TypeLib;
        registry.TypeLibs.push_back({*id, {}, 0, 0, 0, {}});
      } else {
        return std::nullopt;
      }
      if (!sections.insert({kind, *id}).second) return std::nullopt;
      keys.clear();
      continue;
    }

    const size_t equals = line.find('=');
    if (kind == None || equals == std::string_view::npos || equals == 0) return std::nullopt;
    const std::string key(line.substr(0, equals));
    const std::optional<std::string> value = Unescape(line.substr(equals + 1));
    if (!value || !keys.insert(key).second) return std::nullopt;
    if (kind == Class) {
      ClassRegistration& entry = registry.Classes.back();
      if (key == "ProgID") entry.ProgID = *value;
      else if (key == "InprocServer") entry.InprocServer = *value;
      else if (key == "TypeLib") {
        entry.TypeLib = ParseGuid(*value);
        if (!entry.TypeLib) return std::nullopt;
      }
    } else {
      TypeLibRegistration& entry = registry.TypeLibs.back();
      if (key == "Name") entry.Name = *value;
      else if (key == "Path") entry.Path = *value;
      else if (key == "Version") {
        const size_t dot = value->find('.');
        const auto major = ParseWord(std::string_view(*value).substr(0, dot));
        const auto minor = dot == std::string::npos ? std::nullopt : ParseWord(std::string_view(*value).substr(dot + 1));
        if (!major || !minor) return std::nullopt;
        entry.MajorVersion = *major;
        entry.MinorVersion = *minor;
      } else if (key == "LCID") {
        const auto lcid = ParseHex(*value);
        if (!lcid) return std::nullopt;
        entry.Lcid = *lcid;
      }
    }
  }
  return registry;
}

std::string FormatComponentRegistry(const ComponentRegistry& registry) {
  std::string out = "; Kelvora component registry: written by the registration of each component.\n";
  for (const ClassRegistration& entry : registry.Classes) {
    out += "\n[Class " + FormatGuid(entry.CLSID) + "]\n";
    out += "ProgID=" + Escape(entry.ProgID) + "\n";
    out += "InprocServer=" + Escape(entry.InprocServer) + "\n";
    if (entry.TypeLib) out += "TypeLib=" + FormatGuid(*entry.TypeLib) + "\n";
  }
  for (const TypeLibRegistration& entry : registry.TypeLibs) {
    char lcid[16];
    std::snprintf(lcid, sizeof lcid, "%X", entry.Lcid);
    out += "\n[TypeLib " + FormatGuid(entry.LIBID) + "]\n";
    out += "Name=" + Escape(entry.Name) + "\n";
    out += "Version=" + std::to_string(entry.MajorVersion) + "." + std::to_string(entry.MinorVersion) + "\n";
    out += "LCID=" + std::string(lcid) + "\n";
    out += "Path=" + Escape(entry.Path) + "\n";
  }
  return out;
}

std::string ComponentRegistryPath() {
  std::filesystem::path base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
      const passwd* user = getpwuid(getuid());
      home = user && user->pw_dir ? user->pw_dir : "/tmp";
    }
    base = std::filesystem::path(home) / ".local" / "share";
  }
  return (base / "Kelvora" / "components.ini").string();
}

namespace {

std::string SetAside(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string target = path + ".broken-" + stamp;
  std::error_code error;
  for (int n = 2; std::filesystem::exists(target, error); ++n) target = path + ".broken-" + stamp + "-" + std::to_string(n);
  if (::rename(path.c_str(), target.c_str()) != 0) return {};
  std::fprintf(stderr, "Kelvora: コンポーネント登録ファイル %s を読めなかったため %s に退避しました。\n", path.c_str(),
               target.c_str());
  return target;
}

// The registry of the file at path. Bytes that cannot be parsed are set
// aside (the file's name in setAside). A file that cannot be read at all
// is left alone: readError says why (said once per file on stderr).
ComponentRegistry ReadAt(const std::string& path, std::string* setAside, std::string* readError) {
  if (setAside) setAside->clear();
  if (readError) readError->clear();
  const SmallFileRead file = ReadSmallFile(path);
  if (file.State == SmallFileRead::Missing) return {};
  if (file.State == SmallFileRead::Failed) {
    const std::string why = "コンポーネント登録ファイル " + path + " を読み込めません (" + file.Error + ")";
    static std::set<std::string> told;
    if (told.insert(path).second) std::fprintf(stderr, "Kelvora: %s\n", why.c_str());
    if (readError) *readError = why;
    return {};
  }
  if (std::optional<ComponentRegistry> registry = ParseComponentRegistry(file.Bytes)) return *registry;
  const std::string aside = SetAside(FollowLinks(path));
  if (setAside) *setAside = aside;
  return {};
}

}  // namespace

ComponentRegistry ReadComponentRegistry(std::string* setAside, std::string* readError) {
  return ReadAt(ComponentRegistryPath(), setAside, readError);
}

bool UpdateComponentRegistry(const std::function<void(ComponentRegistry&)>& change, std::string* error) {
  const std::string path = ComponentRegistryPath();
  const auto fail = [&](const std::string& why) {
    if (error) *error = "コンポーネント登録ファイル " + path + " に書き込めませんでした。(" + why + ")";
    return false;
  };
  std::error_code made;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), made);
  if (made) return fail(made.message());
  struct Lock {
    int Fd;
    ~Lock() {
      if (Fd >= 0) ::close(Fd);  // releases the lock
    }
  } lock{::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644)};
  if (lock.Fd < 0) return fail(std::strerror(errno));
  while (::flock(lock.Fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  std::string unreadable;
  ComponentRegistry registry = ReadAt(path, nullptr, &unreadable);
  // What could not be read is not written over.
  if (!unreadable.empty()) return fail(unreadable);
  change(registry);
  std::string why;
  return WriteSmallFile(path, FormatComponentRegistry(registry), &why) || fail(why);
}

// ---- machine-wide registrations

std::vector<std::string> MachineComponentRegistryPaths() {
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string list = dirs && dirs[0] ? dirs : "/usr/local/share:/usr/share";
  std::vector<std::string> paths;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string dir = list.substr(start, end - start);
    if (!dir.empty() && dir[0] == '/') {
      const std::string path = (std::filesystem::path(dir) / "Kelvora" / "components.ini").string();
      if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
    }
    start = end + 1;
  }
  return paths;
}

ComponentRegistry ReadMachineComponentRegistry(const std::string& path) {
  // A machine-wide file is never set aside: it is not the user's to move.
  const SmallFileRead file = ReadSmallFile(path);
  if (file.State == SmallFileRead::Missing) return {};
  std::optional<ComponentRegistry> registry =
      file.State == SmallFileRead::Read ? ParseComponentRegistry(file.Bytes) : std::nullopt;
  if (registry) return *registry;
  std::fprintf(stderr, "Kelvora: コンポーネント登録ファイル %s を読めないため、使いません。\n", path.c_str());
  return {};
}

ComponentRegistry ReadLayeredComponentRegistry(std::string* readError) {
  ComponentRegistry merged = ReadComponentRegistry(nullptr, readError);
  for (const std::string& path : MachineComponentRegistryPaths()) {
    const ComponentRegistry layer = ReadMachineComponentRegistry(path);
    // Looked up before this layer is added, so a layer never hides its own
    // entries from each other.
    const ComponentRegistry before = merged;
    for (const ClassRegistration& entry : layer.Classes) {
      if (!before.FindClass(entry.CLSID) && !before.FindProgID(entry.ProgID)) merged.Classes.push_back(entry);
    }
    for (const TypeLibRegistration& entry : layer.TypeLibs) {
      if (!before.FindTypeLib(entry.LIBID) && !before.FindTypeLibByName(entry.Name)) merged.TypeLibs.push_back(entry);
    }
  }
  return merged;
}

}  // namespace platform::com
