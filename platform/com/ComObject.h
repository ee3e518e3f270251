#pragma once
// Building blocks for the objects a component module implements: the
// module's count of live objects and locks (what DllCanUnloadNow answers
// from), reference counting, and the list of event sinks of an object.
#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/com/ComDispatch.h"

namespace platform::com {

// One per component module.
class ServerModule {
 public:
  void ObjectCreated() { ++mObjects; }
  void ObjectDestroyed() { --mObjects; }
  void Lock(bool vblnLock) { vblnLock ? ++mLocks : --mLocks; }
  // True when no object or lock of the module is alive.
  bool CanUnload() const { return mObjects.load() == 0 && mLocks.load() <= 0; }
  int32_t Objects() const { return mObjects.load(); }

 private:
  std::atomic<int32_t> mObjects{0};
  std::atomic<int32_t> mLocks{0};
};

// Reference counting for an object of a module; the object counts as alive
// in its module from construction to destruction.
class ObjectBase {
 public:
  explicit ObjectBase(ServerModule& module) : mModule(module) { mModule.ObjectCreated(); }
  virtual ~ObjectBase() { mModule.ObjectDestroyed(); }
  ObjectBase(const ObjectBase&) = delete;
  ObjectBase& operator=(const ObjectBase&) = delete;

 protected:
  uint32_t AddRefObject() { return ++mRefs; }
  uint32_t ReleaseObject() {
    const uint32_t left = --mRefs;
    if (left == 0) delete this;
    return left;
  }
  // The usual answer to QueryInterface once the object chose p (or none).
  template <typename T>
  HRESULT Answer(T* p, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = p;
    if (!p) return E_NOINTERFACE;
    p->AddRef();
    return S_OK;
  }

 private:
  ServerModule& mModule;
  std::atomic<uint32_t> mRefs{0};
};

// One call running in a component module's code: a method of one of its
// objects, an event of a control it handles, an event it raises. The object
// stays alive until the call ends, even when its host releases it meanwhile
// (a handler may close the window that holds it, or run the event loop that
// does), and no component module is unloaded while any call runs: the
// runtime frees unused modules once the last call has ended, from the event
// loop's idle turn. Every entry into a component's code from outside holds
// one; object may be null (a viewer used without its component).
class ComponentCall {
 public:
  explicit ComponentCall(IUnknown* object);
  ~ComponentCall();
  ComponentCall(const ComponentCall&) = delete;
  ComponentCall& operator=(const ComponentCall&) = delete;

  // True while any call into a component module runs.
  static bool Running();

 private:
  IUnknown* mObject;
};

// The sinks connected to an object's events.
class SinkList {
 public:
  HRESULT Advise(IUnknown* sink, uint32_t* cookie);
  HRESULT Unadvise(uint32_t cookie);
  // Raises event dispId on every sink, in the order they connected. args
  // come back changed by the sinks (by-reference arguments). A run-time
  // error of a sink's handler is raised again here.
  void Raise(int32_t dispId, std::vector<Variant>& args);
  void Raise(int32_t dispId);
  void Clear() { mSinks.clear(); }

 private:
  std::vector<std::pair<uint32_t, ComPtr<IDispatch>>> mSinks;
  uint32_t mNextCookie = 1;
};

}  // namespace platform::com
