#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {
namespace {

// The real clock, from the C++ standard library.
class SystemClock final : public IClock {
 public:
  DateTime Now() override {
    const auto now = std::chrono::system_clock::now();
    return LocalDateTime(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count());
  }
  uint32_t Milliseconds() override {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
};

SystemClock gSystemClock;
IClock* gClock = &gSystemClock;

}  // namespace

DateTime LocalDateTime(int64_t vlngEpochMs) {
  // Floor division, so that moments before 1970 keep a positive remainder.
  int64_t seconds = vlngEpochMs / 1000;
  int64_t ms = vlngEpochMs % 1000;
  if (ms < 0) {
    ms += 1000;
    seconds -= 1;
  }
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour,        local.tm_min,     local.tm_sec, static_cast<int32_t>(ms)};
}

void IClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

IClock& Clock() { return *gClock; }

IClock* InstallClock(IClock* clock) {
  IClock* old = gClock;
  gClock = clock ? clock : &gSystemClock;
  return old;
}

}  // namespace platform
