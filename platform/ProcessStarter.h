#pragma once
// Starting another program of the desktop (a system-information tool, the
// date and time settings): the first installed program of a list, detached,
// with its arguments as a vector. Never through a shell.
#include <string>
#include <vector>

#include "platform/Services.h"

namespace platform {

struct ProgramCommand {
  std::string Program;  // a name looked up on the search path, or a path
  std::vector<std::string> Arguments;
};

class IProcessStarter {
 public:
  virtual ~IProcessStarter() = default;
  // Starts the first program of the list that is installed and could be
  // started; false when none could.
  virtual bool StartFirstInstalled(const std::vector<ProgramCommand>& candidates) = 0;
};

inline IProcessStarter& ProcessStarter() { return ServiceSlot<IProcessStarter>::Get(); }

}  // namespace platform
