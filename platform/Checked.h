#pragma once
// Checked 16- and 32-bit integer arithmetic and the rounding conversions of
// the program's number rules: a result outside its type's range raises
// run-time error 6 (overflow); conversions to integers round to the nearest
// integer, halves to even.
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/RuntimeError.h"

namespace platform::checked {

// Rounds to the nearest integer, halves to even (2.5 → 2, 3.5 → 4).
inline double RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double diff = value - below;
  if (diff > 0.5) return below + 1.0;
  if (diff < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

template <typename Int>
Int NarrowTo(int64_t value) {
  if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
    RaiseError(errOverflow);
  return static_cast<Int>(value);
}

// Conversion of a floating value to a 16-bit integer (rounded, checked).
inline int16_t CInt(double value) {
  if (!std::isfinite(value)) RaiseError(errOverflow);
  double r = RoundHalfEven(value);
  if (r < -32768.0 || r > 32767.0) RaiseError(errOverflow);
  return static_cast<int16_t>(r);
}

// Conversion of a floating value to a 32-bit integer (rounded, checked).
inline int32_t CLng(double value) {
  if (!std::isfinite(value)) RaiseError(errOverflow);
  double r = RoundHalfEven(value);
  if (r < -2147483648.0 || r > 2147483647.0) RaiseError(errOverflow);
  return static_cast<int32_t>(r);
}

inline int16_t ToInt16(int64_t value) { return NarrowTo<int16_t>(value); }
inline int32_t ToInt32(int64_t value) { return NarrowTo<int32_t>(value); }

// 16-bit arithmetic.
inline int16_t Add16(int16_t a, int16_t b) { return ToInt16(int64_t{a} + b); }
inline int16_t Sub16(int16_t a, int16_t b) { return ToInt16(int64_t{a} - b); }
inline int16_t Mul16(int16_t a, int16_t b) { return ToInt16(int64_t{a} * b); }

// 32-bit arithmetic.
inline int32_t Add32(int32_t a, int32_t b) { return ToInt32(int64_t{a} + b); }
inline int32_t Sub32(int32_t a, int32_t b) { return ToInt32(int64_t{a} - b); }
inline int32_t Mul32(int32_t a, int32_t b) { return ToInt32(int64_t{a} * b); }

// Integer division truncating toward zero (the language's "\"); error 11
// on a zero divisor, error 6 when the quotient leaves the type.
template <typename Int>
Int IntDiv(Int a, Int b) {
  if (b == 0) RaiseError(errDivisionByZero);
  return NarrowTo<Int>(int64_t{a} / int64_t{b});
}

// Floating division with the language's rules: x / 0 is error 11.
inline double Div(double a, double b) {
  if (b == 0.0) RaiseError(errDivisionByZero);
  return a / b;
}

}  // namespace platform::checked
