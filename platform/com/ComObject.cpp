#include "platform/com/ComObject.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/com/ComRuntime.h"

namespace platform::com {

namespace {
// Calls into component code on the user-interface thread, nested.
int gComponentCalls = 0;
}  // namespace

ComponentCall::ComponentCall(IUnknown* object) : mObject(object) {
  ++gComponentCalls;
  if (mObject) mObject->AddRef();
}

ComponentCall::~ComponentCall() {
  // The last reference may go here: the object ends inside its own module,
  // which stays loaded at least until the idle turn.
  if (mObject) mObject->Release();
  if (--gComponentCalls == 0 && detail::TakeDeferredFree()) {
    Application::RunWhenIdle([] { CoFreeUnusedLibraries(); });
  }
}

bool ComponentCall::Running() { return gComponentCalls > 0; }

HRESULT SinkList::Advise(IUnknown* sink, uint32_t* cookie) {
  if (!sink || !cookie) return E_POINTER;
  void* dispatch = nullptr;
  if (Failed(sink->QueryInterface(IDispatch::IID, &dispatch))) return E_NOINTERFACE;
  *cookie = mNextCookie++;
  mSinks.emplace_back(*cookie, ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(dispatch)));
  return S_OK;
}

HRESULT SinkList::Unadvise(uint32_t cookie) {
  const auto found = std::find_if(mSinks.begin(), mSinks.end(), [cookie](const auto& s) { return s.first == cookie; });
  if (found == mSinks.end()) return CONNECT_E_NOCONNECTION;
  mSinks.erase(found);
  return S_OK;
}

void SinkList::Raise(int32_t dispId, std::vector<Variant>& args) {
  // A handler may disconnect sinks while the event runs.
  const auto sinks = mSinks;
  for (const auto& [cookie, sink] : sinks) {
    ExcepInfo excep;
    const HRESULT hr = sink->Invoke(dispId, InvokeKind::Method, args, nullptr, &excep);
    // An error in the host's handler comes back to where the event was raised.
    if (Failed(hr)) RaiseCallError(hr, excep);
  }
}

void SinkList::Raise(int32_t dispId) {
  std::vector<Variant> none;
  Raise(dispId, none);
}

}  // namespace platform::com
