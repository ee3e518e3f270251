// mml2wav: turns an MML melody into sound through the program's own MML
// parser, MML player and emulated PC speaker.
//
//   mml2wav [--pc98] [--measure] [-o FILE.wav] MELODY   render to a WAVE file
//   mml2wav [--pc98] --play MELODY                      play on the sound card
//   mml2wav --analyse FILE.wav                          list the tones of a recording
//
// Rendering runs the player on a virtual millisecond clock, so the file is
// the same on every run. MELODY may carry the time signal's "MML:" prefix.
#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "clock/sound/PortIO.h"
#include "clock/sound/clsIOMML.h"
#include "clock/sound/clsPlayMML.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeTimer.h"
#include "tools/AudioAnalysis.h"

namespace {

// Messages of a run without windows go to the terminal.
class TerminalMessageBox final : public platform::IMessageBox {
 public:
  int32_t Show(const std::string& prompt, int32_t, const std::string& title) override {
    std::cerr << title << ": " << prompt << "\n";
    return 1;
  }
};

struct Options {
  bool Pc98 = false;
  bool Play = false;
  bool Measure = false;
  std::string Output = "melody.wav";
  std::string Melody;
  std::string Analyse;
};

int Usage() {
  std::cerr << "使い方: mml2wav [--pc98] [--measure] [-o 出力.wav] MML\n"
               "        mml2wav [--pc98] --play MML\n"
               "        mml2wav --analyse 録音.wav\n";
  return 2;
}

std::unique_ptr<clsPlayMML> MakePlayer(bool pc98) {
  if (!pc98) return std::make_unique<clsPlayMML>();
  IPortIO* port = PortIOModule();
  return std::make_unique<clsPlayMML>(clsPlayMML::Hardware{port != nullptr, 1, port});
}

bool WriteWave(const std::string& path, const std::vector<float>& samples) {
  SF_INFO info{};
  info.samplerate = platform::kSoundRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  const sf_count_t written = sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);
  return written == static_cast<sf_count_t>(samples.size());
}

void PrintTones(const std::vector<float>& samples) {
  int n = 0;
  for (const audio::Tone& tone : audio::FindTones(samples, platform::kSoundRate)) {
    std::printf("%3d  開始 %9.3f ms  長さ %8.3f ms  %9.3f Hz\n", ++n, tone.Start * 1000, tone.Length() * 1000,
                tone.Frequency);
  }
}

int Analyse(const std::string& path) {
  platform::SoundBuffer buffer;
  if (!platform::DecodeSoundFile(path, buffer)) {
    std::cerr << path << " を読めません。\n";
    return 1;
  }
  PrintTones(buffer.Samples);
  return 0;
}

int Render(const Options& options, const std::shared_ptr<clsIOMML>& melody) {
  TerminalMessageBox messages;
  platform::ScopedService<platform::IMessageBox> installMessages(messages);
  platform::FakeClock clock;
  platform::FakeTimer timer;
  platform::ScopedCapture capture;

  auto player = MakePlayer(options.Pc98);
  if (!player->ExistDLL()) {
    std::cerr << "DWSPY5.DLL（ポート入出力モジュール）が見つかりません。\n";
    return 1;
  }
  bool done = false;
  player->Done = [&](int16_t& stop) {
    stop = -1;
    done = true;
  };
  player->SetclsIOMML(melody);
  player->SetTimer(&timer);
  if (!player->PlayStart()) {
    std::cerr << "音符がありません。\n";
    return 1;
  }
  constexpr int32_t kFramesPerMs = platform::kSoundRate / 1000;
  constexpr uint32_t kLongest = 30u * 60u * 1000u;  // half an hour
  uint32_t ms = 0;
  for (; !done && ms < kLongest; ++ms) {
    timer.Fire();
    capture.Sink().Pull(kFramesPerMs);
    clock.Advance(1);
  }
  capture.Sink().Pull(kFramesPerMs * 100);  // let the last ramp end
  const std::vector<float> samples = capture.Sink().Samples();
  if (!WriteWave(options.Output, samples)) {
    std::cerr << options.Output << " に書き込めません。\n";
    return 1;
  }
  std::cout << options.Output << ": " << samples.size() << " サンプル (" << ms << " ms)\n";
  if (options.Measure) PrintTones(samples);
  return 0;
}

int Play(int argc, char** argv, const Options& options, const std::shared_ptr<clsIOMML>& melody) {
  // The tool shows no window; without a display it still runs.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::Application app(argc, argv, "Kelvora");
  if (!platform::InstallSoundOutput()) {
    std::cerr << "音声出力装置がありません。無音で再生します。\n";
  }
  std::unique_ptr<platform::ITimer> timer = platform::Controls().CreateTimer();  // outlives the player
  std::unique_ptr<platform::ITimer> warmUp = platform::Controls().CreateTimer();
  std::unique_ptr<platform::ITimer> ending = platform::Controls().CreateTimer();
  ending->Timer = [&] { app.Quit(); };
  auto player = MakePlayer(options.Pc98);
  if (!player->ExistDLL()) {
    std::cerr << "DWSPY5.DLL（ポート入出力モジュール）が見つかりません。\n";
    return 1;
  }
  player->Done = [&](int16_t& stop) {
    stop = -1;
    ending->SetInterval(500);  // the device still holds the last notes
    ending->SetEnabled(true);
  };
  player->SetclsIOMML(melody);
  player->SetTimer(timer.get());
  if (melody->SoundDataCount() < 1) {
    std::cerr << "音符がありません。\n";
    return 1;
  }
  // The device fills its buffer first; the melody starts once the output
  // runs steadily, so that its first notes keep their lengths.
  warmUp->Timer = [&] {
    warmUp->SetEnabled(false);
    player->PlayStart();
  };
  warmUp->SetInterval(500);
  warmUp->SetEnabled(true);
  return app.Run();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pc98") {
      options.Pc98 = true;
    } else if (arg == "--play") {
      options.Play = true;
    } else if (arg == "--measure") {
      options.Measure = true;
    } else if (arg == "--analyse" && i + 1 < argc) {
      options.Analyse = argv[++i];
    } else if (arg == "-o" && i + 1 < argc) {
      options.Output = argv[++i];
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Usage();
    } else {
      options.Melody = arg;
    }
  }
  if (!options.Analyse.empty()) return Analyse(options.Analyse);
  if (options.Melody.empty()) return Usage();
  std::string text = options.Melody;
  if (text.size() >= 4 && strncasecmp(text.c_str(), "MML:", 4) == 0) text = text.substr(4);

  auto melody = std::make_shared<clsIOMML>();
  melody->SetNotesCommand(text);
  try {
    melody->MakeSoundData();
  } catch (const platform::RuntimeError& error) {
    std::cerr << "MML を変換できません: " << error.Description() << " (エラー " << error.Number() << ")\n";
    return 1;
  }
  return options.Play ? Play(argc, argv, options, melody) : Render(options, melody);
}
