#include "clock/sound/SpeakerControl.h"

#include "platform/Module.h"
#include "platform/Services.h"

namespace {

struct BuzzerEntries {
  void* (*Create)() = nullptr;
  void (*Destroy)(void*) = nullptr;
  void (*SetFile)(void*, const char*) = nullptr;
  int32_t (*Play)(void*) = nullptr;
  int32_t (*Busy)(void*) = nullptr;
  void (*Stop)(void*) = nullptr;

  bool Load(const platform::IModule& module) {
    Create = reinterpret_cast<decltype(Create)>(module.Symbol("KvBuzzerCreate"));
    Destroy = reinterpret_cast<decltype(Destroy)>(module.Symbol("KvBuzzerDestroy"));
    SetFile = reinterpret_cast<decltype(SetFile)>(module.Symbol("KvBuzzerSetFile"));
    Play = reinterpret_cast<decltype(Play)>(module.Symbol("KvBuzzerPlay"));
    Busy = reinterpret_cast<decltype(Busy)>(module.Symbol("KvBuzzerBusy"));
    Stop = reinterpret_cast<decltype(Stop)>(module.Symbol("KvBuzzerStop"));
    return Create && Destroy && SetFile && Play && Busy && Stop;
  }
};

class SpeakerControl final : public ISpeakerControl {
 public:
  SpeakerControl(const BuzzerEntries& entries, std::unique_ptr<platform::ITimer> watch)
      : mEntries(entries), mBuzzer(entries.Create()), mWatch(std::move(watch)) {
    mWatch->SetInterval(10);
    mWatch->Timer = [this] { Watch(); };
  }
  ~SpeakerControl() override { Release(); }

  void SetWaveFile(std::string& rstrFileName) override {
    if (mBuzzer) mEntries.SetFile(mBuzzer, rstrFileName.c_str());
  }

  void Play(int32_t, int32_t, int32_t, bool) override {
    if (!mBuzzer) return;
    // A file that cannot be played ends at once: Done still follows, from
    // the watch, so that a repeated signal never waits forever.
    mEntries.Play(mBuzzer);
    mblnPlaying = true;
    mWatch->SetEnabled(true);
  }

  void Release() override {
    if (!mBuzzer) return;
    mWatch->SetEnabled(false);
    mWatch->Timer = nullptr;
    if (mblnPlaying) mEntries.Stop(mBuzzer);
    mblnPlaying = false;
    mEntries.Destroy(mBuzzer);
    mBuzzer = nullptr;
  }

 private:
  void Watch() {
    if (!mblnPlaying || mEntries.Busy(mBuzzer)) return;
    mblnPlaying = false;
    mWatch->SetEnabled(false);
    if (Done) Done();
  }

  BuzzerEntries mEntries;
  void* mBuzzer;
  std::unique_ptr<platform::ITimer> mWatch;
  bool mblnPlaying = false;
};

}  // namespace

std::unique_ptr<ISpeakerControl> CreateSpeakerControl(std::unique_ptr<platform::ITimer> vtmrWatch) {
  platform::IModule* module = platform::LoadModule("TEGSPKR3.OCX");
  BuzzerEntries entries;
  if (!module || !entries.Load(*module)) return nullptr;
  if (!vtmrWatch) vtmrWatch = platform::Controls().CreateTimer();
  return std::make_unique<SpeakerControl>(entries, std::move(vtmrWatch));
}
