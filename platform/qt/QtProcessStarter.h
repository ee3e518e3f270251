#pragma once
// Starts desktop programs detached (QProcess::startDetached), found on the
// search path; no shell is involved.
#include "platform/ProcessStarter.h"

namespace platform::qt {

class QtProcessStarter final : public IProcessStarter {
 public:
  bool StartFirstInstalled(const std::vector<ProgramCommand>& candidates) override;
};

}  // namespace platform::qt
