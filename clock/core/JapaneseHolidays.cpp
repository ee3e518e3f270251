#include "clock/core/JapaneseHolidays.h"

#include "clock/core/CivilDate.h"

namespace JapaneseHolidays {
namespace {

// The day of the month of the n-th Monday.
int32_t NthMonday(int32_t y, int32_t m, int32_t n) {
  const int32_t first = CivilDate::Weekday(y, m, 1);
  return 1 + (8 - first) % 7 + 7 * (n - 1);
}

bool InRange(int32_t y) { return y >= kFirstYear && y <= kLastYear; }

// From 2007 a holiday on a Sunday moves to the next day that is no
// holiday, and any day between two holidays is one; before, only to the
// Monday, and only a weekday between two holidays.
constexpr int32_t kLaw2007 = 2007;

}  // namespace

int32_t VernalEquinoxDay(int32_t y) {
  return static_cast<int32_t>(20.8431 + 0.242194 * (y - 1980)) - (y - 1980) / 4;
}

int32_t AutumnalEquinoxDay(int32_t y) {
  return static_cast<int32_t>(23.2488 + 0.242194 * (y - 1980)) - (y - 1980) / 4;
}

bool IsNationalHoliday(int32_t y, int32_t m, int32_t d) {
  if (!InRange(y)) return false;
  switch (m) {
    case 1:
      return d == 1 || d == NthMonday(y, 1, 2);  // 元日, 成人の日
    case 2:
      return d == 11 || (d == 23 && y >= 2020);  // 建国記念の日, 天皇誕生日
    case 3:
      return d == VernalEquinoxDay(y);  // 春分の日
    case 4:
      return d == 29;  // みどりの日, from 2007 昭和の日
    case 5:
      if (y == 2019 && d == 1) return true;  // 天皇の即位の日
      // 憲法記念日, みどりの日 (5 May's neighbour only from 2007), こどもの日
      return d == 3 || d == 5 || (d == 4 && y >= kLaw2007);
    case 7:
      if (y == 2020) return d == 23 || d == 24;  // 海の日, スポーツの日 (Olympics)
      if (y == 2021) return d == 22 || d == 23;
      return d == (y >= 2003 ? NthMonday(y, 7, 3) : 20);  // 海の日
    case 8:  // 山の日 from 2016
      if (y == 2020) return d == 10;
      if (y == 2021) return d == 8;
      return y >= 2016 && d == 11;
    case 9:  // 敬老の日, 秋分の日
      return d == (y >= 2003 ? NthMonday(y, 9, 3) : 15) || d == AutumnalEquinoxDay(y);
    case 10:  // 体育の日 / スポーツの日 (in July in 2020 and 2021); 即位礼正殿の儀
      if (y == 2019 && d == 22) return true;
      if (y == 2020 || y == 2021) return false;
      return d == NthMonday(y, 10, 2);
    case 11:
      return d == 3 || d == 23;  // 文化の日, 勤労感謝の日
    case 12:
      return d == 23 && y <= 2018;  // 天皇誕生日 (Heisei)
    default:
      return false;
  }
}

bool IsHoliday(int32_t y, int32_t m, int32_t d) {
  if (!InRange(y)) return false;
  if (IsNationalHoliday(y, m, d)) return true;
  const int64_t day = CivilDate::DaysFromCivil(y, m, d);
  const auto national = [](int64_t n) {
    const CivilDate::YMD date = CivilDate::CivilFromDays(n);
    return IsNationalHoliday(date.Year, date.Month, date.Day);
  };
  const auto sunday = [](int64_t n) { return ((n + 4) % 7 + 7) % 7 == 0; };
  // 振替休日: the first day after a run of holidays that began on or
  // passed a Sunday.
  if (y >= kLaw2007) {
    for (int64_t back = day - 1; national(back); --back) {
      if (sunday(back)) return true;
    }
  } else if (sunday(day - 1) && national(day - 1)) {
    return true;
  }
  // 国民の休日: a day between two holidays.
  if (national(day - 1) && national(day + 1)) return y >= kLaw2007 || !sunday(day);
  return false;
}

}  // namespace JapaneseHolidays
