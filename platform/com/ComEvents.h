#pragma once
// Receiving an object's events in a host: a sink that hands each event
// number to a handler, and a connection that lasts as long as its holder.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/com/ComDispatch.h"

namespace platform::com {

// A sink with one handler per event number; events without a handler are
// ignored. By-reference arguments are changed in the argument list.
class EventSink final : public IDispatch {
 public:
  using Handler = std::function<void(std::vector<Variant>& args)>;
  static ComPtr<EventSink> Create();

  void On(int32_t dispId, Handler handler) { mHandlers[dispId] = std::move(handler); }
  void Clear() { mHandlers.clear(); }

  HRESULT QueryInterface(const Guid& iid, void** ppv) override;
  uint32_t AddRef() override { return ++mRefs; }
  uint32_t Release() override;
  HRESULT GetTypeInfo(const InterfaceDesc** ppInfo) override;
  HRESULT Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                 ExcepInfo* excep) override;

 private:
  EventSink() = default;
  ~EventSink() = default;
  std::map<int32_t, Handler> mHandlers;
  uint32_t mRefs = 0;
};

// Connects a sink to the object's events until Disconnect or destruction.
class EventConnection {
 public:
  EventConnection() = default;
  // Raises run-time error 438 when the object has no events.
  EventConnection(IUnknown& source, IUnknown& sink);
  ~EventConnection() { Disconnect(); }
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;

  void Disconnect();
  bool Connected() const { return static_cast<bool>(mPoint); }

 private:
  ComPtr<IConnectionPoint> mPoint;
  uint32_t mCookie = 0;
};

}  // namespace platform::com
