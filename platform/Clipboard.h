#pragma once
// The system clipboard, text only.
#include <string>

namespace platform {

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  virtual void Clear() = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string GetText() const = 0;
};

}  // namespace platform
