#include "clock/sound/SpeakerControl.h"

#include <vector>
#include <stdexcept>

#include "common/basGeneral.h"
#include "platform/com/ComEvents.h"
#include "platform/com/ComRuntime.h"

using namespace platform::com;

namespace {

enum : int32_t { kSetWaveFile = 1, kRelease = 5, kPlay = 7, kDone = 1 };

class SpeakerControl final : public ISpeakerControl {
 public:
  explicit SpeakerControl(ComPtr<IDispatch> speaker) : mSpeaker(std::move(speaker)) {
    mSink->On(kDone, [this](std::vector<Variant>&) { Speaker_Done(); });
    mConnection = std::make_unique<EventConnection>(*mSpeaker, *mSink);
  }
  ~SpeakerControl() override {
    try {
      Release();
    } catch (...) {
      // Nothing sensible is left to do with an error while the clock closes.
    }
  }

  void SetWaveFile(std::string& rstrFileName) override {
    if (!mSpeaker) return;
    std::vector<Variant> args{rstrFileName};
    CallByNumber(*mSpeaker, kSetWaveFile, InvokeKind::Method, args);
    rstrFileName = args[0].AsString();
  }

  void Play(int32_t vlngArg1, int32_t vlngArg2, int32_t vlngArg3, bool vblnArg4) override {
    if (!mSpeaker) return;
    std::vector<Variant> args{vlngArg1, vlngArg2, vlngArg3, vblnArg4};
    CallByNumber(*mSpeaker, kPlay, InvokeKind::Method, args);
  }

  void Release() override {
    if (!mSpeaker) return;
    ComPtr<IDispatch> speaker = std::move(mSpeaker);
    mConnection.reset();
    CallByNumber(*speaker, kRelease);
  }

 private:
  void Speaker_Done() {
    if (!Done) return;
    // Errors of the clock's handler are the clock's: shown here, not lost
    // inside the control.
    try {
      Done();
    } catch (const platform::RuntimeError& error) {
      basGeneral::ReportError(error);
    } catch (const std::logic_error&) {
      throw;  // a programming error stops the program
    } catch (const std::exception& error) {
      basGeneral::ReportError(error);
    }
  }

  ComPtr<IDispatch> mSpeaker;
  ComPtr<EventSink> mSink = EventSink::Create();
  std::unique_ptr<EventConnection> mConnection;
};

}  // namespace

std::unique_ptr<ISpeakerControl> CreateSpeakerControl() {
  ComPtr<IDispatch> speaker;
  try {
    speaker = CreateObject<IDispatch>(kSpeakerClass);
  } catch (const platform::RuntimeError&) {
    return nullptr;
  }
  return std::make_unique<SpeakerControl>(std::move(speaker));
}
