#include "platform/qt/QtTimer.h"

namespace platform::qt {

QtTimer::QtTimer() {
  mTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&mTimer, &QTimer::timeout, [this] {
    if (Timer) Timer();
  });
}

void QtTimer::SetInterval(int32_t ms) {
  mInterval = ms < 0 ? 0 : ms;
  Apply();
}

void QtTimer::SetEnabled(bool enabled) {
  mEnabled = enabled;
  Apply();
}

void QtTimer::Apply() {
  // A timer ticks only while enabled with a non-zero interval.
  if (mEnabled && mInterval > 0) {
    mTimer.start(mInterval);
  } else {
    mTimer.stop();
  }
}

}  // namespace platform::qt
