#pragma once
// When the time signal may sound: the user's quiet hours, the days it sounds
// on (every day, or chosen weekdays, and not on Japan's holidays when so
// set), and whether the half hour sounds as well. The desktop's
// do-not-disturb state is asked separately (it is the desktop's, not a rule).
#include <array>
#include <cstdint>

#include "platform/Clock.h"

namespace SignalSchedule {

struct SignalRules {
  // Hours from QuietFrom up to (not including) QuietTo are silent; the range
  // may pass midnight (22 → 7: 22:00 to 6:59). Equal ends: no quiet hour.
  bool QuietHours = false;
  int16_t QuietFrom = 22;
  int16_t QuietTo = 7;
  // Only on the weekdays marked in DayMask (bit 0 Monday … bit 6 Sunday).
  bool ChosenDaysOnly = false;
  int16_t DayMask = 0x7F;
  // Not on Japan's public holidays, substitute and citizens' holidays.
  bool NoHolidays = false;
  // A chime at hh:30 as well.
  bool HalfHour = false;
};

// The bit of DayMask for a weekday, 0 = Sunday … 6 = Saturday.
constexpr int16_t DayBit(int32_t sundayBasedWeekday) {
  return static_cast<int16_t>(1 << ((sundayBasedWeekday + 6) % 7));
}

// True when a signal at this local date and time sounds by the rules: the
// full hour always qualifies, hh:30 only with HalfHour.
bool Sounds(const SignalRules& rules, const platform::DateTime& when);
// The hour is inside the quiet hours.
bool InQuietHours(const SignalRules& rules, int32_t hour);

}  // namespace SignalSchedule
