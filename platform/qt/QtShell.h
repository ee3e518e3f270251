#pragma once
// Opens documents and addresses with the user's programs (QDesktopServices).
#include "platform/Shell.h"

namespace platform::qt {

class QtShell final : public IShell {
 public:
  bool Open(const std::string& target) override;
};

}  // namespace platform::qt
