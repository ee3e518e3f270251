#pragma once
// Arithmetic on proleptic Gregorian calendar dates: leap years, month
// lengths, day of the year, weekday and a running day number.
#include <cstdint>

namespace CivilDate {

constexpr bool IsLeapYear(int32_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr int32_t DaysInMonth(int32_t y, int32_t m) {
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// 1 on 1 January, 365 or 366 on 31 December.
constexpr int32_t DayOfYear(int32_t y, int32_t m, int32_t d) {
  constexpr int32_t kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kBefore[m - 1] + d + ((m > 2 && IsLeapYear(y)) ? 1 : 0);
}

// Days since 1970-01-01 (negative before it).
constexpr int64_t DaysFromCivil(int32_t y, int32_t m, int32_t d) {
  const int64_t yy = static_cast<int64_t>(y) - (m <= 2 ? 1 : 0);
  const int64_t era = (yy >= 0 ? yy : yy - 399) / 400;
  const int64_t yoe = yy - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The inverse of DaysFromCivil.
struct YMD {
  int32_t Year, Month, Day;
};
constexpr YMD CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int32_t d = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  const int32_t m = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  return YMD{static_cast<int32_t>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}

// 0 = Sunday … 6 = Saturday.
constexpr int32_t Weekday(int32_t y, int32_t m, int32_t d) {
  // 1970-01-01 was a Thursday.
  return static_cast<int32_t>(((DaysFromCivil(y, m, d) + 4) % 7 + 7) % 7);
}

}  // namespace CivilDate
