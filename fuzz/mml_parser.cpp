// The MML parser on any text (both octave conventions), then the melody
// played through the player on a fake clock and a recording speaker.
#include <algorithm>
#include <memory>
#include <string>

#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeTimer.h"

namespace {

// Port 0x61 reads back what was written last, as the chip does.
class SpeakerPorts final : public IPortIO {
 public:
  int16_t agInp(int16_t vintPort) override { return vintPort == 0x61 ? mint61 : 0xFF; }
  void agOutp(int16_t vintPort, int16_t vintValue) override {
    if (vintPort == 0x61) mint61 = static_cast<int16_t>(vintValue & 0xFF);
  }

 private:
  int16_t mint61 = 0x30;
};

// Parses; false when the text ended in a run-time error (entries made before
// it are kept, the tempo is not changed).
bool Parse(clsIOMML& mml, const std::string& text) {
  const int16_t tempoBefore = mml.Tempo();
  try {
    const int16_t empty = mml.MakeSoundData();
    if ((empty != 0) != text.empty()) fuzz::Fail("MakeSoundData answered empty for a text that is not");
    return true;
  } catch (const platform::RuntimeError& error) {
    fuzz::ExpectDefinedError(error, {platform::errInvalidCall, platform::errOverflow, platform::errDivisionByZero});
    if (mml.Tempo() != tempoBefore) fuzz::Fail("a failed conversion changed the tempo");
    return false;
  }
}

void ReadEveryEntry(const clsIOMML& mml) {
  const int16_t count = mml.SoundDataCount();
  if (count < 0) fuzz::Fail("negative entry count");
  for (int16_t i = 0; i < count; ++i) {
    mml.NotePitch(i);
    mml.NoteLength(i);
    if (mml.NoteMode(i) < 0 || mml.NoteMode(i) > 2) fuzz::Fail("articulation mode out of 0..2");
  }
  try {
    mml.NotePitch(count);
    fuzz::Fail("reading past the last entry did not raise error 9");
  } catch (const platform::RuntimeError& error) {
    fuzz::ExpectDefinedError(error, {platform::errSubscriptRange});
  }
}

void Play(const std::shared_ptr<clsIOMML>& mml, int32_t machineType) {
  platform::FakeClock clock;
  platform::FakeTimer timer;
  SpeakerPorts ports;
  clsPlayMML player(clsPlayMML::Hardware{true, machineType, &ports});
  player.SetclsIOMML(mml);
  player.SetTimer(&timer);
  int done = 0;
  player.Done = [&done](int16_t&) { ++done; };
  // Each tick moves the clock by the length of the note on the speaker, so
  // a melody takes about two ticks a note whatever its tempo.
  double step = 1;
  player.NewNote = [&](int16_t& index) {
    step = std::clamp(clsPlayMML::NoteDuration(mml->NoteLength(index), mml->Tempo()), 1.0, 3.0e6);
  };
  player.PlayStart();
  const int ticks = 4 * mml->SoundDataCount() + 16;
  for (int tick = 0; tick < ticks && timer.Enabled(); ++tick) {
    timer.Fire();
    clock.Advance(static_cast<uint32_t>(step) + static_cast<uint32_t>(tick % 3));
  }
  player.PlayStop();
  if (done > 1) fuzz::Fail("Done raised more than once for one play");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::QuietHost host;
  for (const int16_t baseC : {int16_t{-1}, int16_t{0}}) {
    auto mml = std::make_shared<clsIOMML>();
    mml->SetBaseC(baseC);
    mml->SetNotesCommand(text);
    const bool parsed = Parse(*mml, text);
    ReadEveryEntry(*mml);
    if (parsed && baseC != 0 && mml->SoundDataCount() > 0) {
      Play(mml, size % 2 == 0 ? 2 : 1);  // PC/AT or PC-98
    }
  }
  return 0;
}
