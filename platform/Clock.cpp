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
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec, static_cast<int32_t>(ms)};
  }
  uint32_t Milliseconds() override {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
};

SystemClock gSystemClock;
IClock* gClock = &gSystemClock;

}  // namespace

void IClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

IClock& Clock() { return *gClock; }

IClock* InstallClock(IClock* clock) {
  IClock* old = gClock;
  gClock = clock ? clock : &gSystemClock;
  return old;
}

}  // namespace platform
