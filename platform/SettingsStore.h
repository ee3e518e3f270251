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
};

}  // namespace platform
