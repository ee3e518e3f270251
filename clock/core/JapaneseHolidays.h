#pragma once
// Japan's public holidays, computed by the rules of the holiday law as it
// stood in each year from 2000 on: fixed days, the "Happy Monday" days, the
// vernal and autumnal equinox days (the usual approximation, good until
// 2099), substitute holidays and the citizens' holiday between two holidays,
// with the special days of 2019 (the enthronement) and the moved days of
// 2020 and 2021 (the Tokyo Olympics). Years outside 2000–2099 have none.
#include <cstdint>

namespace JapaneseHolidays {

inline constexpr int32_t kFirstYear = 2000;
inline constexpr int32_t kLastYear = 2099;

// A day the law names a holiday (国民の祝日, and the special days treated
// as such).
bool IsNationalHoliday(int32_t y, int32_t m, int32_t d);
// A day off by the law: a national holiday, a substitute holiday (振替休日)
// or a citizens' holiday (国民の休日).
bool IsHoliday(int32_t y, int32_t m, int32_t d);

// Day of March / September of the equinox days.
int32_t VernalEquinoxDay(int32_t y);
int32_t AutumnalEquinoxDay(int32_t y);

}  // namespace JapaneseHolidays
