#pragma once
// A settings store for tests, in memory, installed for its lifetime.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Services.h"

namespace platform {

class MemorySettingsStore final : public ISettingsStore {
 public:
  MemorySettingsStore() : mInstall(*this) {}

  std::optional<std::string> GetSetting(const std::string& app, const std::string& section,
                                        const std::string& key) override {
    auto it = Values.find({app, section, key});
    if (it == Values.end()) return std::nullopt;
    return it->second;
  }
  void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                   const std::string& value) override {
    Values[{app, section, key}] = value;
    WrittenKeys.push_back(key);
  }

  std::map<std::tuple<std::string, std::string, std::string>, std::string> Values;
  std::vector<std::string> WrittenKeys;  // in the order written

 private:
  ScopedService<ISettingsStore> mInstall;
};

}  // namespace platform
