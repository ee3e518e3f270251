#pragma once
// A process starter for tests: records every request and "starts" the first
// candidate named in Installed. Installed for its lifetime.
#include <set>
#include <string>
#include <vector>

#include "platform/ProcessStarter.h"

namespace platform {

class RecordingProcessStarter final : public IProcessStarter {
 public:
  RecordingProcessStarter() : mInstall(*this) {}

  bool StartFirstInstalled(const std::vector<ProgramCommand>& candidates) override {
    Requests.push_back(candidates);
    for (const ProgramCommand& command : candidates) {
      if (Installed.count(command.Program)) {
        Started.push_back(command);
        return true;
      }
    }
    return false;
  }

  std::set<std::string> Installed;
  std::vector<std::vector<ProgramCommand>> Requests;
  std::vector<ProgramCommand> Started;

 private:
  ScopedService<IProcessStarter> mInstall;
};

}  // namespace platform
