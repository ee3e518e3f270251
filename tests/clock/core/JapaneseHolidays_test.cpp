// Every day off of 2019–2030, worked out by hand from the holiday law and
// the laws that moved days: 2019 with the enthronement day (1 May), the
// ceremony day (22 October) and the citizens' holidays they made (30 April,
// 2 May), and no Emperor's Birthday; 2020 and 2021 with Marine Day, Sports
// Day and Mountain Day moved around the Olympics (and no October holiday);
// substitute holidays after Sundays (2020-05-06 after two holidays); the
// citizens' holiday of September 2026.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "clock/core/CivilDate.h"
#include "clock/core/JapaneseHolidays.h"

namespace {

const std::map<int, std::string> kHolidays = {
    {2019, "1/1 1/14 2/11 3/21 4/29 4/30 5/1 5/2 5/3 5/4 5/5 5/6 7/15 8/11 8/12 9/16 9/23 10/14 10/22 11/3 11/4 11/23"},
    {2020, "1/1 1/13 2/11 2/23 2/24 3/20 4/29 5/3 5/4 5/5 5/6 7/23 7/24 8/10 9/21 9/22 11/3 11/23"},
    {2021, "1/1 1/11 2/11 2/23 3/20 4/29 5/3 5/4 5/5 7/22 7/23 8/8 8/9 9/20 9/23 11/3 11/23"},
    {2022, "1/1 1/10 2/11 2/23 3/21 4/29 5/3 5/4 5/5 7/18 8/11 9/19 9/23 10/10 11/3 11/23"},
    {2023, "1/1 1/2 1/9 2/11 2/23 3/21 4/29 5/3 5/4 5/5 7/17 8/11 9/18 9/23 10/9 11/3 11/23"},
    {2024, "1/1 1/8 2/11 2/12 2/23 3/20 4/29 5/3 5/4 5/5 5/6 7/15 8/11 8/12 9/16 9/22 9/23 10/14 11/3 11/4 11/23"},
    {2025, "1/1 1/13 2/11 2/23 2/24 3/20 4/29 5/3 5/4 5/5 5/6 7/21 8/11 9/15 9/23 10/13 11/3 11/23 11/24"},
    {2026, "1/1 1/12 2/11 2/23 3/20 4/29 5/3 5/4 5/5 5/6 7/20 8/11 9/21 9/22 9/23 10/12 11/3 11/23"},
    {2027, "1/1 1/11 2/11 2/23 3/21 3/22 4/29 5/3 5/4 5/5 7/19 8/11 9/20 9/23 10/11 11/3 11/23"},
    {2028, "1/1 1/10 2/11 2/23 3/20 4/29 5/3 5/4 5/5 7/17 8/11 9/18 9/22 10/9 11/3 11/23"},
    {2029, "1/1 1/8 2/11 2/12 2/23 3/20 4/29 4/30 5/3 5/4 5/5 7/16 8/11 9/17 9/23 9/24 10/8 11/3 11/23"},
    {2030, "1/1 1/14 2/11 2/23 3/20 4/29 5/3 5/4 5/5 5/6 7/15 8/11 8/12 9/16 9/23 10/14 11/3 11/4 11/23"},
};

TEST(JapaneseHolidays, EveryDayOff2019To2030) {
  for (const auto& [year, expected] : kHolidays) {
    std::string found;
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= CivilDate::DaysInMonth(year, m); ++d) {
        if (!JapaneseHolidays::IsHoliday(year, m, d)) continue;
        if (!found.empty()) found += ' ';
        found += std::to_string(m) + "/" + std::to_string(d);
      }
    }
    EXPECT_EQ(found, expected) << year;
  }
}

TEST(JapaneseHolidays, SubstituteAndCitizensHolidaysAreNoNationalHolidays) {
  EXPECT_FALSE(JapaneseHolidays::IsNationalHoliday(2020, 5, 6));
  EXPECT_FALSE(JapaneseHolidays::IsNationalHoliday(2026, 9, 22));
  // Before 2007: 4 May a citizens' holiday on weekdays only; a Sunday
  // holiday moved to the Monday alone.
  EXPECT_TRUE(JapaneseHolidays::IsHoliday(2006, 5, 4));
  EXPECT_FALSE(JapaneseHolidays::IsHoliday(2003, 5, 6));  // 5/4 Sunday: 5/5 is a holiday already
  EXPECT_FALSE(JapaneseHolidays::IsHoliday(1999, 1, 1));
  EXPECT_FALSE(JapaneseHolidays::IsHoliday(2100, 1, 1));
}

}  // namespace
