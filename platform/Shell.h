#pragma once
// Opening a document or an address with the user's program for it. Never
// through a command line built from a string.
#include <string>

#include "platform/Services.h"

namespace platform {

class IShell {
 public:
  virtual ~IShell() = default;
  // A local path or an address (http:, mailto:, ...); false when the
  // platform could not hand it on.
  virtual bool Open(const std::string& target) = 0;
};

inline IShell& Shell() { return ServiceSlot<IShell>::Get(); }

}  // namespace platform
