// A week of the clock on simulated time, every tick of it: with repetition
// on, each day gives 24 signals and 156 plays, heard in the captured sound
// (melody, WAVE file) or counted on the buzzer, one kind after another; and
// the process holds no more memory after the week than after the first day.
// A second week runs under a working day's rules: quiet hours across
// midnight, chosen weekdays, holidays, the half-hour chime and the desktop's
// do-not-disturb.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <fstream>

#include "ClockFixture.h"
#include "clock/sound/SignalSettings.h"
#include "platform/DoNotDisturb.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of the bytes in use (its allocator replaces malloc's).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#define KV_SANITIZED 1
#endif

namespace {

using namespace clocktest;

// Bytes the program holds on its heap.
size_t HeapInUse() {
#ifdef KV_SANITIZED
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// Resident memory of the process, bytes.
size_t Resident() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

TEST(SimulatedWeek, EveryDayGives24SignalsAnd156PlaysAndMemoryStaysFlat) {
  struct Week : ClockFixture {
    void TestBody() override {}
  } week;
  SettingsStore::TimeSignalRepeat = true;
  const std::string wave = WriteTone("week.wav", 100);
  basMain::mblnSpeakerReady = true;
  frmMain& clock = week.MakeClock(LocalEpochMs(2026, 12, 6, 23, 59, 59, 500));
  auto speaker = std::make_unique<FakeSpeaker>(300);
  FakeSpeaker& buzzer = *speaker;
  clock.SetSpeaker(std::move(speaker));

  constexpr int64_t kListen = 8000;  // from hh−1:59:59.5, past the twelfth play
  size_t heapAfterDay1 = 0, residentAfterDay1 = 0;
  for (int day = 0; day < 7; ++day) {
    const char* kinds[] = {"melody", "wave", "buzzer"};
    SCOPED_TRACE(kinds[day % 3]);
    SettingsStore::WavFile = day % 3 == 0 ? "MML:T240O5C16P16" : wave;
    SettingsStore::UsePCBuzzer = day % 3 == 2;
    int signals = 0, plays = 0;
    for (int hour = 0; hour < 24; ++hour) {
      const int buzzed = buzzer.Plays;
      week.Listening = true;
      week.scheduler.RunFor(kListen);
      week.Listening = false;
      const int heard = static_cast<int>(week.TakeTones().size()) + buzzer.Plays - buzzed;
      EXPECT_EQ(heard, hour % 12 == 0 ? 12 : hour % 12) << "day " << day + 1 << ", " << hour << ":00";
      signals += heard > 0;
      plays += heard;
      week.scheduler.RunFor(3600000 - kListen);
    }
    EXPECT_EQ(signals, 24) << "day " << day + 1;
    EXPECT_EQ(plays, 156) << "day " << day + 1;
    if (day == 0) {
      heapAfterDay1 = HeapInUse();
      residentAfterDay1 = Resident();
    }
  }
  EXPECT_TRUE(week.box.Calls.empty());

  const auto heapGrowth = static_cast<double>(HeapInUse()) - static_cast<double>(heapAfterDay1);
  const auto residentGrowth = static_cast<double>(Resident()) - static_cast<double>(residentAfterDay1);
  std::printf("after the first day: heap %zu B, resident %zu B; the week added heap %.0f B, resident %.0f B\n",
              heapAfterDay1, residentAfterDay1, heapGrowth, residentGrowth);
  EXPECT_LT(heapGrowth, 1 << 20);
#ifndef KV_SANITIZED
  // The sanitizer keeps freed memory in quarantine: only the plain build's
  // resident size says anything.
  EXPECT_LT(residentGrowth, 1 << 20);
#endif
}

// The desktop's do-not-disturb, switched by the test.
struct SwitchedDoNotDisturb final : platform::IDoNotDisturb {
  bool Active() override { return On; }
  bool On = false;
};

// The week of 20–26 September 2026: Sunday, then Respect for the Aged Day
// (Monday), a citizens' holiday (Tuesday) and the autumnal equinox day
// (Wednesday), then three working days. The signal sounds Monday to
// Saturday but not on holidays, not from 22:00 to 6:59, and at every half
// hour too; on Friday the desktop asks not to disturb from 12:00 to 17:59.
// Each day counts the full hours and half hours heard: 7:00 … 21:00 and
// 7:30 … 21:30 make 30; Friday loses its six afternoon hours and their
// half hours.
TEST(SimulatedWeek, AWorkingDaysRulesGiveExactCountsPerDay) {
  struct Week : ClockFixture {
    void TestBody() override {}
  } week;
  SwitchedDoNotDisturb dnd;
  platform::ScopedService<platform::IDoNotDisturb> installDnd(dnd);
  SettingsStore::WavFile = "MML:T240O5C16";
  auto& rules = SignalSettings::Rules;
  rules.QuietHours = true;
  rules.QuietFrom = 22;
  rules.QuietTo = 7;
  rules.ChosenDaysOnly = true;
  rules.DayMask = 0x3F;  // Monday to Saturday
  rules.NoHolidays = true;
  rules.HalfHour = true;
  ASSERT_TRUE(SignalSettings::DoNotDisturb);
  week.MakeClock(LocalEpochMs(2026, 9, 19, 23, 59, 59, 500));

  constexpr int64_t kListen = 3000;
  const std::vector<int> expected = {0, 0, 0, 0, 30, 18, 30};
  int halfHoursHeard = 0, offPitch = 0;
  for (int day = 0; day < 7; ++day) {
    int heard = 0;
    for (int slot = 0; slot < 48; ++slot) {
      const int hour = slot / 2;
      dnd.On = day == 5 && hour >= 12 && hour < 18;
      week.Listening = true;
      week.scheduler.RunFor(kListen);
      week.Listening = false;
      const auto tones = week.TakeTones();
      EXPECT_LE(tones.size(), 1u) << "day " << day << " " << hour << (slot % 2 ? ":30" : ":00");
      heard += static_cast<int>(tones.size());
      if (slot % 2 == 1 && !tones.empty()) {
        ++halfHoursHeard;
        // The chime is its own melody: one A (440 Hz), not the hour's C.
        if (std::abs(tones[0].Frequency - 440) > 15) ++offPitch;
      }
      week.scheduler.RunFor(1800000 - kListen);
    }
    EXPECT_EQ(heard, expected[static_cast<size_t>(day)]) << "day " << day << " (0 = Sunday 20 September)";
  }
  EXPECT_EQ(halfHoursHeard, 39);
  EXPECT_EQ(offPitch, 0);
  EXPECT_TRUE(week.box.Calls.empty());
  rules = {};
}

}  // namespace
