// A week of the clock on simulated time, every tick of it: with repetition
// on, each day gives 24 signals and 156 plays, heard in the captured sound
// (melody, WAVE file) or counted on the buzzer, one kind after another; and
// the process holds no more memory after the week than after the first day.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <fstream>

#include "ClockFixture.h"

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

}  // namespace
