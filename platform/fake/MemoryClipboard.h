#pragma once
// A clipboard for tests, installed for its lifetime.
#include <string>

#include "platform/Services.h"

namespace platform {

class MemoryClipboard final : public IClipboard {
 public:
  MemoryClipboard() : mInstall(*this) {}
  void Clear() override { Text.clear(); }
  void SetText(const std::string& text) override { Text = text; }
  std::string GetText() const override { return Text; }

  std::string Text;

 private:
  ScopedService<IClipboard> mInstall;
};

}  // namespace platform
