// Plays "T240L16O4CDEFGAB>C" twenty times in real time through the player,
// the emulated speaker and a real-time capturing sink, then measures every
// note's sounded length in the capture against the ideal 62.5 ms and prints
// the median, the 99th percentile and the largest error.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "tools/AudioAnalysis.h"

namespace {

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto k = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  return values[std::min(k, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::Application app(argc, argv, "Kelvora");
  constexpr int kPlays = 20;
  constexpr int kNotes = 8;
  constexpr double kIdealMs = 60000.0 / 240 / 4;  // a sixteenth at T240

  auto melody = std::make_shared<clsIOMML>();
  melody->SetNotesCommand("T240L16O4CDEFGAB>C");
  melody->MakeSoundData();

  platform::ScopedCapture capture(true);
  // The timers outlive the player that borrows one of them.
  std::unique_ptr<platform::ITimer> timer = platform::Controls().CreateTimer();
  std::unique_ptr<platform::ITimer> pause = platform::Controls().CreateTimer();
  clsPlayMML player;
  if (!player.ExistDLL()) {
    std::fprintf(stderr, "the port-I/O module was not found next to the program\n");
    return 1;
  }
  int plays = 0;
  // Plays apart by a short pause, so that each stands alone in the capture.
  player.Done = [&](int16_t& stop) {
    stop = -1;
    if (++plays < kPlays) {
      pause->SetInterval(60);
      pause->SetEnabled(true);
    } else {
      pause->SetInterval(200);  // let the capture run past the last note
      pause->SetEnabled(true);
    }
  };
  pause->Timer = [&] {
    pause->SetEnabled(false);
    if (plays < kPlays) {
      player.PlayStart();
    } else {
      app.Quit();
    }
  };
  player.SetclsIOMML(melody);
  player.SetTimer(timer.get());
  player.PlayStart();
  app.Run();

  const auto samples = capture.Sink().Samples();
  const auto tones = audio::FindTones(samples, platform::kSoundRate);
  std::printf("notes found: %zu of %d\n", tones.size(), kPlays * kNotes);
  if (tones.size() != static_cast<size_t>(kPlays * kNotes)) return 1;
  std::vector<double> errors;
  double signedSum = 0;
  for (const audio::Tone& tone : tones) {
    const double error = tone.Length() * 1000 - kIdealMs;
    signedSum += error;
    errors.push_back(std::fabs(error));
  }
  std::printf("note length error vs %.1f ms: p50 %.3f ms, p99 %.3f ms, max %.3f ms (mean signed %+.3f ms)\n", kIdealMs,
              Percentile(errors, 0.50), Percentile(errors, 0.99), *std::max_element(errors.begin(), errors.end()),
              signedSum / static_cast<double>(errors.size()));
  return 0;
}
