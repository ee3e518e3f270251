#pragma once
// Late binding: calls by member number with variant arguments, and the
// connection an object offers for its events. Errors do not cross a module
// boundary as exceptions here: an object reports a failed call through its
// result code and the error information.
#include <string>
#include <vector>

#include "platform/com/ComBase.h"
#include "platform/com/ComTypeInfo.h"
#include "platform/com/ComVariant.h"

namespace platform::com {

// The run-time error a late-bound call raised inside the object.
struct ExcepInfo {
  int32_t Number = 0;
  std::string Description;
  std::string Source;
};

class IDispatch : public IUnknown {
 public:
  static constexpr Guid IID = GuidOf("{00020400-0000-0000-C000-000000000046}");
  // The description of the interface this object is reached through; it
  // stays valid while the object lives.
  virtual HRESULT GetTypeInfo(const InterfaceDesc** ppInfo) = 0;
  // Calls member dispId. args are in the declared order (not reversed);
  // by-reference arguments are changed in place. result may be nullptr.
  // A run-time error inside gives DISP_E_EXCEPTION with excep filled in.
  virtual HRESULT Invoke(int32_t dispId, InvokeKind kind, std::vector<Variant>& args, Variant* result,
                         ExcepInfo* excep) = 0;

 protected:
  ~IDispatch() = default;
};

// The connection point of an object's event interface. The sink is asked
// for IDispatch; each event is an Invoke on it with the event's member
// number.
class IConnectionPoint : public IUnknown {
 public:
  static constexpr Guid IID = GuidOf("{B196B286-BAB4-101A-B69C-00AA00341D07}");
  virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
  virtual HRESULT Unadvise(uint32_t cookie) = 0;

 protected:
  ~IConnectionPoint() = default;
};

// Calls member dispId of the object late-bound and returns its result. A
// failure raises the run-time error the language raises for it: the
// object's own error, 438 for a missing member, 450 for a wrong number of
// arguments, 13 for a type mismatch.
Variant CallByNumber(IDispatch& object, int32_t dispId, InvokeKind kind, std::vector<Variant>& args);
Variant CallByNumber(IDispatch& object, int32_t dispId, InvokeKind kind = InvokeKind::Method);

// For objects: whether the described interface has the member and the
// call brings its number of arguments (DISP_E_MEMBERNOTFOUND,
// DISP_E_BADPARAMCOUNT), S_OK when it may go ahead.
HRESULT CheckInvoke(const InterfaceDesc& info, int32_t dispId, InvokeKind kind, size_t argCount);

// The run-time error of a failed call's result (DISP_E_EXCEPTION: the
// error in excep).
[[noreturn]] void RaiseCallError(HRESULT hr, const ExcepInfo& excep);
void FillExcepInfo(ExcepInfo* excep, int32_t number, const std::string& description, const std::string& source);
HRESULT ExceptionResult(ExcepInfo* excep);  // inside a catch block

// For objects: runs the member's body, turning a run-time error into
// DISP_E_EXCEPTION and its information.
template <typename Body>
HRESULT InvokeGuarded(ExcepInfo* excep, Body&& body) {
  try {
    return body();
  } catch (...) {
    return ExceptionResult(excep);
  }
}

}  // namespace platform::com
