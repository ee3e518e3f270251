#pragma once
// A shell for tests: records what it is asked to open and answers Result.
// Installed for its lifetime.
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace platform {

class RecordingShell final : public IShell {
 public:
  RecordingShell() : mInstall(*this) {}
  bool Open(const std::string& target) override {
    Opened.push_back(target);
    return Result;
  }

  std::vector<std::string> Opened;
  bool Result = true;

 private:
  ScopedService<IShell> mInstall;
};

}  // namespace platform
