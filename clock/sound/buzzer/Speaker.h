#pragma once
// The PC-buzzer control's Speaker object: member 1 names the WAVE file,
// member 7 starts it on the emulated PC speaker and returns at once,
// member 5 stops and releases; the event Done follows each completed play.
// Reached only by member number (its interface is dispatch-only).
#include <memory>
#include <string>

#include "platform/com/ComObject.h"
#include "platform/Timer.h"

namespace buzzer {

// Member and event numbers of the control.
enum SpeakerMember : int32_t { kSetWaveFile = 1, kRelease = 5, kPlay = 7 };
enum SpeakerEvent : int32_t { kDone = 1 };

class Speaker final : public platform::com::IDispatch, public platform::com::IConnectionPoint,
                      public platform::com::ObjectBase {
 public:
  static platform::com::HRESULT Create(const platform::com::Guid& iid, void** ppv);

  platform::com::HRESULT QueryInterface(const platform::com::Guid& iid, void** ppv) override;
  uint32_t AddRef() override { return AddRefObject(); }
  uint32_t Release() override { return ReleaseObject(); }
  platform::com::HRESULT GetTypeInfo(const platform::com::InterfaceDesc** ppInfo) override;
  platform::com::HRESULT Invoke(int32_t dispId, platform::com::InvokeKind kind, std::vector<platform::com::Variant>& args,
                                platform::com::Variant* result, platform::com::ExcepInfo* excep) override;
  platform::com::HRESULT Advise(IUnknown* sink, uint32_t* cookie) override { return mSinks.Advise(sink, cookie); }
  platform::com::HRESULT Unadvise(uint32_t cookie) override { return mSinks.Unadvise(cookie); }

 private:
  Speaker();
  ~Speaker() override;

  void SetWaveFile(const std::string& vstrFileName) { mstrFile = vstrFileName; }
  void Play();
  void Stop();
  void Watch();

  std::string mstrFile;
  bool mblnPlaying = false;
  // Watches for the end of a play on the user-interface thread; made on
  // the first play, from the host's control factory.
  std::unique_ptr<platform::ITimer> mtmrWatch;
  platform::com::SinkList mSinks;
};

}  // namespace buzzer
