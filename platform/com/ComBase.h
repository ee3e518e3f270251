#pragma once
// The component object model the runtime offers: result codes, the base
// interface with reference counting, class factories and a smart pointer.
// Objects cross module boundaries only through these abstract interfaces.
#include <cstdint>
#include <utility>

#include "platform/com/Guid.h"

namespace platform::com {

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
inline constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201);
inline constexpr HRESULT REGDB_E_WRITEREGDB = static_cast<HRESULT>(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
inline constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// Every object's base interface. Objects delete themselves when the last
// reference is released.
class IUnknown {
 public:
  static constexpr Guid IID = GuidOf("{00000000-0000-0000-C000-000000000046}");
  virtual HRESULT QueryInterface(const Guid& iid, void** ppv) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  static constexpr Guid IID = GuidOf("{00000001-0000-0000-C000-000000000046}");
  // outer must be nullptr (no aggregation).
  virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** ppv) = 0;
  virtual HRESULT LockServer(bool vblnLock) = 0;

 protected:
  ~IClassFactory() = default;
};

// Holds one reference to an interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference to p.
  explicit ComPtr(T* p) : mPtr(p) {
    if (mPtr) mPtr->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.mPtr) {}
  ComPtr(ComPtr&& other) noexcept : mPtr(std::exchange(other.mPtr, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(mPtr, other.mPtr);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference that was already counted (an out-parameter).
  static ComPtr Attach(T* p) {
    ComPtr result;
    result.mPtr = p;
    return result;
  }
  // Gives up the reference without releasing it.
  T* Detach() { return std::exchange(mPtr, nullptr); }
  void Reset() {
    if (T* p = std::exchange(mPtr, nullptr)) p->Release();
  }
  T* Get() const { return mPtr; }
  T* operator->() const { return mPtr; }
  T& operator*() const { return *mPtr; }
  explicit operator bool() const { return mPtr != nullptr; }

  // The object's interface U (by U::IID), or null.
  template <typename U>
  ComPtr<U> As() const {
    void* out = nullptr;
    if (!mPtr || Failed(mPtr->QueryInterface(U::IID, &out))) return nullptr;
    return ComPtr<U>::Attach(static_cast<U*>(out));
  }

 private:
  T* mPtr = nullptr;
};

}  // namespace platform::com
