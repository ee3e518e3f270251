#pragma once
// A control factory for tests whose timers are FakeTimers (recorded, fired
// by the test); every other control comes from the factory installed
// before. Installs itself for its lifetime, so that code in a loaded
// component module gets these timers too.
#include <vector>

#include "platform/Services.h"
#include "platform/fake/FakeTimer.h"

namespace platform {

class FakeTimerFactory final : public IControlFactory {
 public:
  FakeTimerFactory() : mInner(ServiceSlot<IControlFactory>::Installed() ? &Controls() : nullptr), mInstall(*this) {}

  std::unique_ptr<IForm> CreateForm(const FormStyle& style) override { return Inner().CreateForm(style); }
  std::unique_ptr<ILabel> CreateLabel(IControl& c, const std::string& name, int16_t index) override {
    return Inner().CreateLabel(c, name, index);
  }
  std::unique_ptr<ITextBox> CreateTextBox(IControl& c, const std::string& name) override {
    return Inner().CreateTextBox(c, name);
  }
  std::unique_ptr<IListControl> CreateComboBox(IControl& c, const std::string& name) override {
    return Inner().CreateComboBox(c, name);
  }
  std::unique_ptr<IListControl> CreateListBox(IControl& c, const std::string& name) override {
    return Inner().CreateListBox(c, name);
  }
  std::unique_ptr<IFrame> CreateFrame(IControl& c, const std::string& name) override { return Inner().CreateFrame(c, name); }
  std::unique_ptr<ILine> CreateLine(IControl& c, const std::string& name, int16_t index) override {
    return Inner().CreateLine(c, name, index);
  }
  std::unique_ptr<IPictureBox> CreatePictureBox(IControl& c, const std::string& name) override {
    return Inner().CreatePictureBox(c, name);
  }
  std::unique_ptr<IVScrollBar> CreateVScrollBar(IControl& c, const std::string& name) override {
    return Inner().CreateVScrollBar(c, name);
  }
  std::unique_ptr<ICommandButton> CreateCommandButton(IControl& c, const std::string& name, int16_t index) override {
    return Inner().CreateCommandButton(c, name, index);
  }
  std::unique_ptr<ICheckBox> CreateCheckBox(IControl& c, const std::string& name, int16_t index) override {
    return Inner().CreateCheckBox(c, name, index);
  }
  std::unique_ptr<ITextBox> CreateMultiLineTextBox(IControl& c, const std::string& name) override {
    return Inner().CreateMultiLineTextBox(c, name);
  }
  std::unique_ptr<ITimer> CreateTimer() override {
    auto timer = std::make_unique<FakeTimer>();
    Timers.push_back(timer.get());
    return timer;
  }

  // Every timer made, in order (they belong to their callers).
  std::vector<FakeTimer*> Timers;

 private:
  IControlFactory& Inner() {
    if (!mInner) throw std::logic_error("no control factory to delegate to");
    return *mInner;
  }
  IControlFactory* mInner;
  ScopedService<IControlFactory> mInstall;
};

}  // namespace platform
