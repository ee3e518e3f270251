#include "clock/sound/SignalSchedule.h"

#include "clock/core/CivilDate.h"
#include "clock/core/JapaneseHolidays.h"

namespace SignalSchedule {

bool InQuietHours(const SignalRules& rules, int32_t hour) {
  if (!rules.QuietHours || rules.QuietFrom == rules.QuietTo) return false;
  if (rules.QuietFrom < rules.QuietTo) return hour >= rules.QuietFrom && hour < rules.QuietTo;
  return hour >= rules.QuietFrom || hour < rules.QuietTo;  // across midnight
}

bool Sounds(const SignalRules& rules, const platform::DateTime& when) {
  if (when.Minute == 30 && !rules.HalfHour) return false;
  if (when.Minute != 0 && when.Minute != 30) return false;
  if (InQuietHours(rules, when.Hour)) return false;
  if (rules.ChosenDaysOnly &&
      (rules.DayMask & DayBit(CivilDate::Weekday(when.Year, when.Month, when.Day))) == 0) {
    return false;
  }
  return !(rules.NoHolidays && JapaneseHolidays::IsHoliday(when.Year, when.Month, when.Day));
}

}  // namespace SignalSchedule
