#pragma once
// The platform clock: the local date and time (Now) and a millisecond clock
// (timeGetTime). Tests install a fake so that hours, ticks and melodies run
// instantly and deterministically.
#include <cstdint>

namespace platform {

// A local calendar date and time, to the millisecond.
struct DateTime {
  int32_t Year = 1899;
  int32_t Month = 12;   // 1–12
  int32_t Day = 30;     // 1–31
  int32_t Hour = 0;     // 0–23
  int32_t Minute = 0;   // 0–59
  int32_t Second = 0;   // 0–59
  int32_t Millisecond = 0;

  bool operator==(const DateTime&) const = default;
};

class IClock {
 public:
  virtual ~IClock() = default;
  // The current local date and time.
  virtual DateTime Now() = 0;
  // Milliseconds since some fixed start, wrapping at 2^32 (timeGetTime).
  virtual uint32_t Milliseconds() = 0;
  // Waits ms milliseconds (Sleep); the system clock really waits.
  virtual void Sleep(uint32_t ms);
};

// The clock in use: the system clock unless a test installed another.
IClock& Clock();
// Installs a clock (nullptr restores the system clock). Returns the old one.
IClock* InstallClock(IClock* clock);

// The local date and time of a moment given in milliseconds since
// 1970-01-01 UTC, by the time zone in effect (TZ), as the system clock
// reads it.
DateTime LocalDateTime(int64_t vlngEpochMs);

// Shorthands for the two readings.
inline DateTime Now() { return Clock().Now(); }
inline uint32_t timeGetTime() { return Clock().Milliseconds(); }
inline void Sleep(uint32_t ms) { Clock().Sleep(ms); }

}  // namespace platform
