#pragma once
// A message box for tests: records every call and answers from a script
// (vbOK once the script is used up).
#include <deque>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace platform {

class RecordingMessageBox final : public IMessageBox {
 public:
  struct Call {
    std::string Prompt;
    int32_t Style;
    std::string Title;
  };

  RecordingMessageBox() : mInstall(*this) {}

  int32_t Show(const std::string& prompt, int32_t style, const std::string& title) override {
    Calls.push_back({prompt, style, title});
    if (Answers.empty()) return vbOK;
    const int32_t answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::vector<Call> Calls;
  std::deque<int32_t> Answers;

 private:
  ScopedService<IMessageBox> mInstall;
};

}  // namespace platform
