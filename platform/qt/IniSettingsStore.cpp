#include "platform/qt/IniSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "platform/RuntimeError.h"
#include "platform/SafeFile.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

std::string Escape(const std::string& value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

bool Unescape(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return false;
    }
  }
  return true;
}

bool IsValidUtf8(const std::string& text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  return !decoder.hasError();
}

}  // namespace

bool ParseIni(const std::string& text, std::map<std::string, std::map<std::string, std::string>>& doc) {
  doc.clear();
  if (text.empty()) return true;
  // A complete file ends with a line end: a missing one means it was cut short.
  if (text.back() != '\n') return false;
  if (text.find('\0') != std::string::npos || !IsValidUtf8(text)) return false;
  std::string section;
  bool inSection = false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) return false;
      section = line.substr(1, line.size() - 2);
      inSection = true;
      doc[section];
      continue;
    }
    const size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos || eq == 0) return false;
    std::string value;
    if (!Unescape(line.substr(eq + 1), value)) return false;
    doc[section][line.substr(0, eq)] = value;
  }
  return true;
}

std::string FormatIni(const std::map<std::string, std::map<std::string, std::string>>& doc) {
  std::string out;
  for (const auto& [section, keys] : doc) {
    if (!out.empty()) out += '\n';
    out += '[' + section + "]\n";
    for (const auto& [key, value] : keys) out += key + '=' + Escape(value) + '\n';
  }
  return out;
}

namespace {

// An absolute folder from the environment; relative ones are ignored, as the
// XDG base-directory rules say.
const char* AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? value : nullptr;
}

std::string HomeFolder() {
  if (const char* home = AbsoluteEnv("HOME")) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "/";
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::string configHome) : mConfigHome(std::move(configHome)) {
  if (mConfigHome.empty()) {
    if (const char* xdg = AbsoluteEnv("XDG_CONFIG_HOME")) mConfigHome = xdg;
    else mConfigHome = HomeFolder() + "/.config";
  }
}

std::string IniSettingsStore::FileOf(const std::string& app) const { return mConfigHome + "/" + app + "/" + app + ".ini"; }

IniSettingsStore::Document& IniSettingsStore::Load(const std::string& app) {
  auto it = mDocuments.find(app);
  if (it != mDocuments.end()) return it->second;
  Document& doc = mDocuments[app];
  const std::string path = FileOf(app);
  const SmallFileRead file = ReadSmallFile(path);
  if (file.State == SmallFileRead::Missing) return doc;
  if (file.State == SmallFileRead::Failed) {
    // Nothing says the file is bad: it stays as it is, and this run does
    // not write over it.
    mUnreadable.insert(app);
    mReadError = "設定ファイル " + path + " を読み込めませんでした (" + file.Error +
                 ")。ファイルはそのまま残し、この実行中の設定は保存しません。";
    std::fprintf(stderr, "Kelvora: %s\n", mReadError.c_str());
    return doc;
  }
  if (!ParseIni(file.Bytes, doc)) {
    doc.clear();
    KeepAside(FollowLinks(path));
  }
  return doc;
}

void IniSettingsStore::KeepAside(const std::string& path) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString target = ToQ(path) + QStringLiteral(".broken-") + stamp;
  for (int n = 2; QFileInfo::exists(target); ++n) target = ToQ(path) + QStringLiteral(".broken-%1-%2").arg(stamp).arg(n);
  if (QFile::rename(ToQ(path), target)) {
    mKeptAside = FromQ(target);
    std::fprintf(stderr, "Kelvora: 設定ファイル %s を読めなかったため %s に退避しました。\n", path.c_str(),
                 mKeptAside.c_str());
  }
}

void IniSettingsStore::Write(const std::string& app, const Document& doc) {
  // A file that could not be read is kept as it is.
  if (mUnreadable.count(app)) return;
  const std::string path = FileOf(app);
  QDir().mkpath(QFileInfo(ToQ(path)).absolutePath());
  std::string why;
  if (!WriteSmallFile(path, FormatIni(doc), &why)) {
    throw RuntimeError(errPathFileAccess, "設定ファイル " + path + " に書き込めませんでした。(" + why + ")",
                       DefaultErrorSource());
  }
}

std::optional<std::string> IniSettingsStore::GetSetting(const std::string& app, const std::string& section,
                                                        const std::string& key) {
  const Document& doc = Load(app);
  const auto s = doc.find(section);
  if (s == doc.end()) return std::nullopt;
  const auto k = s->second.find(key);
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

void IniSettingsStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& value) {
  Document& doc = Load(app);
  doc[section][key] = value;
  if (mBatchDepth > 0) mUnwritten.insert(app);
  else Write(app, doc);
}

void IniSettingsStore::BeginBatch() { ++mBatchDepth; }

void IniSettingsStore::EndBatch() {
  if (mBatchDepth == 0 || --mBatchDepth > 0) return;
  const std::set<std::string> apps = std::move(mUnwritten);
  mUnwritten.clear();
  for (const std::string& app : apps) Write(app, mDocuments[app]);
}

}  // namespace platform::qt
