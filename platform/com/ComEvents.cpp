#include "platform/com/ComEvents.h"

#include "platform/RuntimeError.h"

namespace platform::com {

ComPtr<EventSink> EventSink::Create() { return ComPtr<EventSink>(new EventSink); }

HRESULT EventSink::QueryInterface(const Guid& iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (iid != IUnknown::IID && iid != IDispatch::IID) return E_NOINTERFACE;
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

uint32_t EventSink::Release() {
  const uint32_t left = --mRefs;
  if (left == 0) delete this;
  return left;
}

HRESULT EventSink::GetTypeInfo(const InterfaceDesc** ppInfo) {
  if (ppInfo) *ppInfo = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSink::Invoke(int32_t dispId, InvokeKind, std::vector<Variant>& args, Variant*, ExcepInfo* excep) {
  const auto found = mHandlers.find(dispId);
  if (found == mHandlers.end() || !found->second) return S_OK;
  // Keeps the sink alive while its handler runs (a handler may disconnect).
  const ComPtr<EventSink> self(this);
  const Handler handler = found->second;
  return InvokeGuarded(excep, [&] {
    handler(args);
    return S_OK;
  });
}

EventConnection::EventConnection(IUnknown& source, IUnknown& sink) {
  void* point = nullptr;
  if (Failed(source.QueryInterface(IConnectionPoint::IID, &point))) RaiseError(errNotSupported);
  auto connection = ComPtr<IConnectionPoint>::Attach(static_cast<IConnectionPoint*>(point));
  uint32_t cookie = 0;
  if (Failed(connection->Advise(&sink, &cookie))) RaiseError(errNotSupported);
  mPoint = std::move(connection);
  mCookie = cookie;
}

void EventConnection::Disconnect() {
  if (!mPoint) return;
  mPoint->Unadvise(mCookie);
  mPoint.Reset();
}

}  // namespace platform::com
