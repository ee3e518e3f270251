#pragma once
// The per-user settings store: texts addressed by application, section and key.
#include <optional>
#include <string>

namespace platform {

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  // The stored text, or nothing when the key is absent.
  virtual std::optional<std::string> GetSetting(const std::string& app, const std::string& section,
                                                const std::string& key) = 0;
  virtual void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& value) = 0;

  // Saves made between BeginBatch and EndBatch may reach the storage once,
  // at EndBatch, instead of one write per key.
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
};

// A batch of saves for the lifetime of this object. Commit ends it and lets
// errors of the final write through; a batch left by an error is ended
// quietly (the error in flight is the one to report).
class SettingsBatch {
 public:
  explicit SettingsBatch(ISettingsStore& store) : mStore(store) { mStore.BeginBatch(); }
  ~SettingsBatch() {
    if (mOpen) {
      try {
        mStore.EndBatch();
      } catch (...) {
      }
    }
  }
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;

  void Commit() {
    mOpen = false;
    mStore.EndBatch();
  }

 private:
  ISettingsStore& mStore;
  bool mOpen = true;
};

}  // namespace platform
