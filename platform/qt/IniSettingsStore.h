#pragma once
// The per-user settings store: one UTF-8 INI file per application,
// $XDG_CONFIG_HOME/<app>/<app>.ini (XDG_CONFIG_HOME defaults to ~/.config;
// a relative one is ignored). Every save rewrites the file atomically
// (temporary file, flush, rename), through a symbolic link to its target,
// so a crash never leaves a torn file. A file whose bytes cannot be parsed
// is moved aside under a new name, never overwritten, and reads as empty. A
// file that cannot be read (an I/O error, no permission, not a regular
// file, larger than 1 MB) is said so once and left alone: it reads as
// empty and is not written over during the run.
#include <map>
#include <set>
#include <string>

#include "platform/SettingsStore.h"

namespace platform::qt {

class IniSettingsStore final : public ISettingsStore {
 public:
  // configHome: the folder holding the applications' folders; empty means
  // $XDG_CONFIG_HOME, or ~/.config when that is unset.
  explicit IniSettingsStore(std::string configHome = {});

  std::optional<std::string> GetSetting(const std::string& app, const std::string& section,
                                        const std::string& key) override;
  void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                   const std::string& value) override;
  void BeginBatch() override;
  void EndBatch() override;

  // The file that holds an application's settings.
  std::string FileOf(const std::string& app) const;
  // Where the last unparsable file was moved ("" when none was).
  const std::string& KeptAsideAs() const { return mKeptAside; }
  // Why the last file that could not be read was left alone ("" when none).
  const std::string& ReadError() const { return mReadError; }

 private:
  using Section = std::map<std::string, std::string>;
  using Document = std::map<std::string, Section>;

  Document& Load(const std::string& app);
  void Write(const std::string& app, const Document& doc);
  void KeepAside(const std::string& path);

  std::string mConfigHome;
  std::map<std::string, Document> mDocuments;
  std::string mKeptAside;
  std::string mReadError;
  std::set<std::string> mUnreadable;  // applications whose file could not be read
  int mBatchDepth = 0;
  std::set<std::string> mUnwritten;  // applications saved to during a batch
};

// Parses the text of a settings file; false when it is not a well-formed,
// complete file.
bool ParseIni(const std::string& text, std::map<std::string, std::map<std::string, std::string>>& doc);
// The text of a settings file.
std::string FormatIni(const std::map<std::string, std::map<std::string, std::string>>& doc);

}  // namespace platform::qt
