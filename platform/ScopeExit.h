#pragma once
// Runs a step when the scope ends, by an error as well (showing a control
// again, ending the busy pointer). The step must not throw.
#include <utility>

namespace platform {

template <typename Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) : mStep(std::move(step)) {}
  ~ScopeExit() { mStep(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Step mStep;
};

}  // namespace platform
