#include "platform/com/ComDispatch.h"

#include <exception>
#include <new>

#include "platform/RuntimeError.h"

namespace platform::com {

void RaiseCallError(HRESULT hr, const ExcepInfo& excep) {
  switch (hr) {
    case DISP_E_EXCEPTION:
      throw RuntimeError(excep.Number, excep.Description.empty() ? ErrorDescription(excep.Number) : excep.Description,
                         excep.Source.empty() ? DefaultErrorSource() : excep.Source);
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME: RaiseError(errNotSupported);
    case DISP_E_BADPARAMCOUNT: RaiseError(errWrongArgumentCount);
    case DISP_E_TYPEMISMATCH: RaiseError(errTypeMismatch);
    case E_OUTOFMEMORY: RaiseError(errOutOfMemory);
    default: RaiseError(errAutomation);
  }
}

Variant CallByNumber(IDispatch& object, int32_t dispId, InvokeKind kind, std::vector<Variant>& args) {
  Variant result;
  ExcepInfo excep;
  const HRESULT hr = object.Invoke(dispId, kind, args, &result, &excep);
  if (Failed(hr)) RaiseCallError(hr, excep);
  return result;
}

Variant CallByNumber(IDispatch& object, int32_t dispId, InvokeKind kind) {
  std::vector<Variant> none;
  return CallByNumber(object, dispId, kind, none);
}

HRESULT CheckInvoke(const InterfaceDesc& info, int32_t dispId, InvokeKind kind, size_t argCount) {
  const MemberDesc* member = info.Find(dispId, kind);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  return member->Params.size() == argCount ? S_OK : DISP_E_BADPARAMCOUNT;
}

void FillExcepInfo(ExcepInfo* excep, int32_t number, const std::string& description, const std::string& source) {
  if (!excep) return;
  excep->Number = number;
  excep->Description = description;
  excep->Source = source;
}

HRESULT ExceptionResult(ExcepInfo* excep) {
  try {
    throw;
  } catch (const RuntimeError& error) {
    FillExcepInfo(excep, error.Number(), error.Description(), error.Source());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    FillExcepInfo(excep, errAutomation, error.what(), DefaultErrorSource());
  } catch (...) {
    return E_UNEXPECTED;
  }
  return DISP_E_EXCEPTION;
}

}  // namespace platform::com
