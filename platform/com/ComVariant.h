#pragma once
// The small variant type of late-bound calls and events: what the system's
// components pass (16/32-bit integers, booleans as −1/0, strings, and the
// host's controls handed to a viewer). A by-reference argument is an
// element of the argument list that the callee changes in place.
#include <cstdint>
#include <string>
#include <variant>

namespace platform {
class IControl;
}

namespace platform::com {

enum class VarType : uint16_t {
  Empty = 0,
  Integer = 2,   // 16-bit
  Long = 3,      // 32-bit
  String = 8,
  Boolean = 11,  // 16-bit, true = −1
  Control = 13,  // a control of the host (not reference-counted)
};

// The type's name as a type description shows it ("Integer", "String" ...).
const char* VarTypeName(VarType type);

class Variant {
 public:
  Variant() = default;
  Variant(int16_t value) : mValue(value) {}
  Variant(int32_t value) : mValue(value) {}
  Variant(bool value) : mValue(Bool{static_cast<int16_t>(value ? -1 : 0)}) {}
  Variant(std::string value) : mValue(std::move(value)) {}
  Variant(const char* value) : mValue(std::string(value)) {}
  Variant(IControl* value) : mValue(value) {}

  VarType Type() const;
  bool IsEmpty() const { return Type() == VarType::Empty; }

  // The value converted as the language converts it; a value that does not
  // convert raises run-time error 13, one out of range error 6.
  int16_t AsInteger() const;
  int32_t AsLong() const;
  bool AsBoolean() const;
  std::string AsString() const;
  IControl* AsControl() const;

  bool operator==(const Variant&) const = default;

 private:
  struct Bool {
    int16_t Value;
    bool operator==(const Bool&) const = default;
  };
  std::variant<std::monostate, int16_t, int32_t, std::string, Bool, IControl*> mValue;
};

}  // namespace platform::com
