#include "clock/sound/clsPlayMML.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Services.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeTimer.h"
#include "platform/fake/RecordingMessageBox.h"

namespace {

// Records port traffic; port 0x61 reads back what was written last.
class RecordingPort final : public IPortIO {
 public:
  int16_t agInp(int16_t vintPort) override {
    Log.push_back({'I', vintPort, 0});
    return vintPort == 0x61 ? mint61 : 0xFF;
  }
  void agOutp(int16_t vintPort, int16_t vintValue) override {
    Log.push_back({'O', vintPort, vintValue});
    if (vintPort == 0x61) mint61 = static_cast<int16_t>(vintValue & 0xFF);
  }
  struct Access {
    char Kind;
    int Port;
    int Value;
    bool operator==(const Access&) const = default;
  };
  std::vector<Access> Log;

 private:
  int16_t mint61 = 0x30;
};

std::shared_ptr<clsIOMML> Melody(const std::string& text) {
  auto mml = std::make_shared<clsIOMML>();
  mml->SetNotesCommand(text);
  mml->MakeSoundData();
  return mml;
}

// A player on a fake clock and a fake 1 ms timer; Run steps both.
struct PlayerFixture : testing::Test {
  void Make(int32_t machineType, const std::string& text) {
    notes.clear();
    doneAt.clear();
    player = std::make_unique<clsPlayMML>(clsPlayMML::Hardware{true, machineType, &port});
    port.Log.clear();  // the replaced player silenced the speaker
    player->SetclsIOMML(Melody(text));
    player->SetTimer(&timer);
    player->NewNote = [this](int16_t& index) { notes.push_back({clock.Milliseconds(), index}); };
    player->Done = [this](int16_t& stop) {
      doneAt.push_back(clock.Milliseconds());
      if (onDone) onDone(stop);
    };
  }
  // Advances the clock by 1 ms per tick while the timer runs, at most ms ticks.
  void Run(uint32_t ms) {
    for (uint32_t i = 0; i < ms && timer.Enabled(); ++i) {
      timer.Fire();
      clock.Advance(1);
    }
  }

  platform::FakeClock clock;
  platform::FakeTimer timer;
  RecordingPort port;
  std::unique_ptr<clsPlayMML> player;
  std::vector<std::pair<uint32_t, int>> notes;
  std::vector<uint32_t> doneAt;
  std::function<void(int16_t&)> onDone = [](int16_t& stop) { stop = -1; };
};

TEST_F(PlayerFixture, NoteLengthsFollowTheTempo) {
  Make(0, "T120 C C8 P4 C");
  const uint32_t start = clock.Milliseconds();
  EXPECT_EQ(player->PlayStart(), -1);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1);
  Run(5000);
  // Quarter 500 ms, eighth 250 ms, the rest its own 500 ms; each switch on the
  // first tick at or past the entry's end.
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].first - start, 500u);
  EXPECT_EQ(notes[1].first - start, 750u);
  EXPECT_EQ(notes[2].first - start, 1250u);
  ASSERT_EQ(doneAt.size(), 1u);
  EXPECT_EQ(doneAt[0] - start, 1750u);
  EXPECT_FALSE(timer.Enabled());  // vblnTimerStop stopped it
  EXPECT_TRUE(port.Log.empty());  // machine type 0 touches no port

  Make(0, "T60C");
  const uint32_t again = clock.Milliseconds();
  player->PlayStart();
  Run(5000);
  ASSERT_EQ(doneAt.size(), 1u);
  EXPECT_EQ(doneAt[0] - again, 1000u);
}

TEST_F(PlayerFixture, OneEntryAndEmptyMelodies) {
  Make(0, "C");
  player->PlayStart();
  Run(2000);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(doneAt.size(), 1u);
  EXPECT_EQ(player->StillExecuting(), 0);

  Make(0, "xyz");
  timer.SetEnabled(false);
  timer.SetInterval(0);
  EXPECT_EQ(player->PlayStart(), 0);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 0);
}

TEST_F(PlayerFixture, PlayStopMidNoteReportsDoneOnce) {
  Make(2, "CDE");
  player->PlayStart();
  Run(100);
  player->PlayStop();
  port.Log.clear();
  onDone = [](int16_t&) {};  // the timer keeps running
  Run(50);
  EXPECT_EQ(doneAt.size(), 1u);
  EXPECT_TRUE(timer.Enabled());
  // The stop silenced the speaker.
  ASSERT_GE(port.Log.size(), 2u);
  EXPECT_EQ(port.Log[1], (RecordingPort::Access{'O', 0x61, 0x30}));
}

TEST_F(PlayerFixture, DoneHandlerThatRestartsReplaysFromTheStart) {
  Make(0, "T120CD");
  int plays = 0;
  onDone = [&](int16_t& stop) {
    if (++plays < 3) {
      player->PlayStart();
    } else {
      stop = -1;
    }
  };
  const uint32_t start = clock.Milliseconds();
  player->PlayStart();
  Run(10000);
  ASSERT_EQ(doneAt.size(), 3u);
  EXPECT_EQ(doneAt[0] - start, 1000u);
  // Each replay starts at entry 0 on the next tick.
  EXPECT_EQ(doneAt[1] - doneAt[0], 1001u);
  EXPECT_EQ(doneAt[2] - doneAt[1], 1001u);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[1].second, 1);
  EXPECT_FALSE(timer.Enabled());

  // A stop after a replay started from a Done handler still ends the play.
  Make(2, "CDE");
  bool first = true;
  onDone = [&](int16_t&) {
    if (first) player->PlayStart();
    first = false;
  };
  player->PlayStart();
  Run(10);
  player->PlayStop();
  Run(2);
  player->PlayStop();
  Run(2);
  EXPECT_EQ(doneAt.size(), 2u);
  EXPECT_EQ(port.Log.back(), (RecordingPort::Access{'O', 0x61, 0x30}));
}

TEST_F(PlayerFixture, PortSequencesOfBothMachineFamilies) {
  using A = RecordingPort::Access;
  Make(2, "O4A P");
  player->PlayStart();
  Run(1);
  // 1 190 000 / 440 = 2704.5 → 2705 = 0x0A91.
  EXPECT_EQ(port.Log, (std::vector<A>{{'O', 0x43, 0xB6}, {'O', 0x42, 0x91}, {'O', 0x42, 0x0A}, {'I', 0x61, 0}, {'O', 0x61, 0x33}}));
  port.Log.clear();
  Run(500);  // into the rest: gate off
  EXPECT_EQ(port.Log, (std::vector<A>{{'I', 0x61, 0}, {'O', 0x61, 0x30}}));
  port.Log.clear();
  Run(1000);  // the end
  EXPECT_EQ(port.Log, (std::vector<A>{{'I', 0x61, 0}, {'O', 0x61, 0x30}}));

  Make(1, "O4AB");
  player->PlayStart();
  Run(1);
  // 2 457 600 / 440 = 5585.45 → 5585 = 0x15D1.
  EXPECT_EQ(port.Log, (std::vector<A>{{'O', 0x77, 0x76}, {'O', 0x3FDB, 0xD1}, {'O', 0x3FDB, 0x15}, {'O', 0x37, 6}}));
  port.Log.clear();
  Run(500);  // the next note: gate first, then the frequency (B = 493.9 Hz → 4976 = 0x1370)
  EXPECT_EQ(port.Log, (std::vector<A>{{'O', 0x37, 6}, {'O', 0x77, 0x76}, {'O', 0x3FDB, 0x70}, {'O', 0x3FDB, 0x13}}));
  port.Log.clear();
  Run(1000);
  EXPECT_EQ(port.Log, (std::vector<A>{{'O', 0x37, 7}}));
}

TEST_F(PlayerFixture, ClockWrapAndTempoZero) {
  clock.SetMilliseconds(0xFFFFFF00u);  // wraps 256 ms into the note
  Make(0, "C");
  const uint32_t start = clock.Milliseconds();
  player->PlayStart();
  Run(2000);
  ASSERT_EQ(doneAt.size(), 1u);
  EXPECT_EQ(doneAt[0] - start, 500u);

  Make(0, "T0C");  // plays at the default tempo
  const uint32_t zero = clock.Milliseconds();
  player->PlayStart();
  Run(2000);
  ASSERT_EQ(doneAt.size(), 1u);
  EXPECT_EQ(doneAt[0] - zero, 500u);
}

TEST_F(PlayerFixture, WithoutTheLibraryTicksDoNothing) {
  player = std::make_unique<clsPlayMML>(clsPlayMML::Hardware{false, 2, &port});
  player->SetclsIOMML(Melody("C"));
  player->SetTimer(&timer);
  EXPECT_EQ(player->ExistDLL(), 0);
  player->PlayStart();
  Run(1000);
  EXPECT_TRUE(port.Log.empty());
  EXPECT_EQ(player->StillExecuting(), -1);
}

TEST_F(PlayerFixture, AFailingTickIsReportedAndStillEndsWithDone) {
  platform::RecordingMessageBox messages;
  platform::ScopedService<platform::IMessageBox> install(messages);
  auto melody = Melody("CDEFG");
  Make(2, "");
  player->SetclsIOMML(melody);
  player->PlayStart();
  Run(600);  // into the second note
  melody->SetNotesCommand("C");  // the melody shrinks under the player
  melody->MakeSoundData();
  Run(10);
  EXPECT_EQ(messages.Calls.size(), 1u);
  EXPECT_EQ(doneAt.size(), 1u);
  EXPECT_EQ(port.Log.back(), (RecordingPort::Access{'O', 0x61, 0x30}));  // silenced
  EXPECT_FALSE(timer.Enabled());
}

TEST(clsPlayMMLStatic, NoteFrequencies) {
  EXPECT_FLOAT_EQ(clsPlayMML::NoteFrequency(57), 440.0f);
  EXPECT_NEAR(clsPlayMML::NoteFrequency(0), 16.3516f, 1e-3f);
  EXPECT_NEAR(clsPlayMML::NoteFrequency(48), 261.626f, 1e-2f);
}

TEST(clsPlayMMLStatic, TimerPropertyDispatchesOnTheKind) {
  RecordingPort port;
  platform::FakeTimer timer;
  platform::FakeClock clock;
  clsPlayMML player(clsPlayMML::Hardware{true, 0, &port});
  player.SetclsIOMML(Melody("C"));
  player.SetTimer(clsPlayMML::TimerObject{"clsTimer", nullptr});
  player.PlayStart();
  EXPECT_FALSE(timer.Enabled());  // nothing kept, nothing enabled
  player.SetTimer(clsPlayMML::TimerObject{"TIMER", &timer});
  player.PlayStart();
  EXPECT_TRUE(timer.Enabled());
  player.SetTimer(nullptr);
  EXPECT_FALSE(timer.Fire());  // released: the handler is gone
}

}  // namespace
