#pragma once
// A window timer over QTimer (precise, on the user-interface thread).
#include <QTimer>

#include "platform/Timer.h"

namespace platform::qt {

class QtTimer final : public ITimer {
 public:
  QtTimer();
  int32_t Interval() const override { return mInterval; }
  void SetInterval(int32_t ms) override;
  bool Enabled() const override { return mEnabled; }
  void SetEnabled(bool enabled) override;

 private:
  void Apply();
  QTimer mTimer;
  int32_t mInterval = 0;
  bool mEnabled = false;
};

}  // namespace platform::qt
