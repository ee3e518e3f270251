#pragma once
// Window timers on simulated time, for tests: while installed, the control
// factory's timers are timers of this scheduler (every other control comes
// from the factory installed before). RunFor moves the fake clock from one
// due timer to the next and fires it, as the message loop would; hours and
// days run in moments and always alike.
//
// A timer falls due Interval ms after it was started (SetInterval and
// SetEnabled restart it) or after it last fired. Lateness, when set, is
// added to every due time (negative: early), as a busy or coarse event loop
// delivers timers. Stall moves time on without firing anything, as a
// blocked loop does; a timer that fell due meanwhile fires once at the end.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Services.h"
#include "platform/fake/FakeClock.h"

namespace platform {

class TimerScheduler final : public IControlFactory {
 public:
  explicit TimerScheduler(FakeClock& clock);
  ~TimerScheduler() override;
  TimerScheduler(const TimerScheduler&) = delete;
  TimerScheduler& operator=(const TimerScheduler&) = delete;

  std::unique_ptr<ITimer> CreateTimer() override;

  std::unique_ptr<IForm> CreateForm(const FormStyle& style) override { return mOther->CreateForm(style); }
  std::unique_ptr<ILabel> CreateLabel(IControl& container, const std::string& name, int16_t index) override {
    return mOther->CreateLabel(container, name, index);
  }
  std::unique_ptr<ITextBox> CreateTextBox(IControl& container, const std::string& name) override {
    return mOther->CreateTextBox(container, name);
  }
  std::unique_ptr<IListControl> CreateComboBox(IControl& container, const std::string& name) override {
    return mOther->CreateComboBox(container, name);
  }
  std::unique_ptr<IListControl> CreateListBox(IControl& container, const std::string& name) override {
    return mOther->CreateListBox(container, name);
  }
  std::unique_ptr<IFrame> CreateFrame(IControl& container, const std::string& name) override {
    return mOther->CreateFrame(container, name);
  }
  std::unique_ptr<ILine> CreateLine(IControl& container, const std::string& name, int16_t index) override {
    return mOther->CreateLine(container, name, index);
  }
  std::unique_ptr<IPictureBox> CreatePictureBox(IControl& container, const std::string& name) override {
    return mOther->CreatePictureBox(container, name);
  }
  std::unique_ptr<IVScrollBar> CreateVScrollBar(IControl& container, const std::string& name) override {
    return mOther->CreateVScrollBar(container, name);
  }
  std::unique_ptr<ICommandButton> CreateCommandButton(IControl& container, const std::string& name, int16_t index) override {
    return mOther->CreateCommandButton(container, name, index);
  }
  std::unique_ptr<ICheckBox> CreateCheckBox(IControl& container, const std::string& name, int16_t index) override {
    return mOther->CreateCheckBox(container, name, index);
  }
  std::unique_ptr<ITextBox> CreateMultiLineTextBox(IControl& container, const std::string& name) override {
    return mOther->CreateMultiLineTextBox(container, name);
  }

  // Runs the timers for vlngMs milliseconds of simulated time.
  void RunFor(int64_t vlngMs);
  // Moves time on by vlngMs without firing any timer.
  void Stall(int64_t vlngMs);
  // Milliseconds simulated since the scheduler was created.
  int64_t Elapsed() const { return mlngNow; }

  std::function<int32_t()> Lateness;
  // Told how far the clock moved, each time it moves.
  std::function<void(int64_t vlngMs)> Advanced;

 private:
  class SimulatedTimer;
  void MoveTo(int64_t vlngTime);
  void Arm(SimulatedTimer& timer);

  FakeClock& mClock;
  IControlFactory* mOther;
  int64_t mlngNow = 0;
  uint64_t mlngSequence = 0;
  std::vector<SimulatedTimer*> mTimers;
};

}  // namespace platform
