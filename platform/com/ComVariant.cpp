#include "platform/com/ComVariant.h"

#include "platform/RuntimeError.h"

namespace platform::com {

const char* VarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::String: return "String";
    case VarType::Boolean: return "Boolean";
    case VarType::Control: return "Object";
  }
  return "Variant";
}

VarType Variant::Type() const {
  switch (mValue.index()) {
    case 1: return VarType::Integer;
    case 2: return VarType::Long;
    case 3: return VarType::String;
    case 4: return VarType::Boolean;
    case 5: return VarType::Control;
    default: return VarType::Empty;
  }
}

int32_t Variant::AsLong() const {
  switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Integer: return std::get<int16_t>(mValue);
    case VarType::Long: return std::get<int32_t>(mValue);
    case VarType::Boolean: return std::get<Bool>(mValue).Value;
    default: RaiseError(errTypeMismatch);
  }
}

int16_t Variant::AsInteger() const {
  const int32_t value = AsLong();
  if (value < INT16_MIN || value > INT16_MAX) RaiseError(errOverflow);
  return static_cast<int16_t>(value);
}

bool Variant::AsBoolean() const { return AsLong() != 0; }

std::string Variant::AsString() const {
  switch (Type()) {
    case VarType::Empty: return {};
    case VarType::String: return std::get<std::string>(mValue);
    case VarType::Boolean: return std::get<Bool>(mValue).Value ? "True" : "False";
    case VarType::Integer:
    case VarType::Long: return std::to_string(AsLong());
    default: RaiseError(errTypeMismatch);
  }
}

IControl* Variant::AsControl() const {
  if (Type() == VarType::Empty) return nullptr;
  if (Type() != VarType::Control) RaiseError(errTypeMismatch);
  return std::get<IControl*>(mValue);
}

}  // namespace platform::com
