#include "clock/sound/basSound.h"

#include <chrono>
#include <memory>
#include <thread>

#include "platform/Sound.h"

namespace basSound {
namespace {

// The one sound of the device, as the system's sound call keeps one.
std::shared_ptr<platform::BufferSource>& Current() {
  static std::shared_ptr<platform::BufferSource> current;
  return current;
}

}  // namespace

// Busy until a sound started now would be heard after the last one's end,
// so that a repetition follows it without a gap and without overlap.
bool IsSoundBusy() {
  const auto& current = Current();
  return current && platform::SoundEngine().StampFrame() < current->EndFrame();
}

bool PlayWaveFile(const std::string& vstrFileName, std::optional<int16_t> vintFlags) {
  const int16_t flags = static_cast<int16_t>(vintFlags.value_or(SND_SYNC) | SND_NODEFAULT);
  if ((flags & SND_NOSTOP) && IsSoundBusy()) return false;

  platform::SoundBuffer buffer;
  if (!platform::DecodeSoundFile(vstrFileName, buffer)) return false;
  const double seconds = static_cast<double>(buffer.Samples.size()) / platform::kSoundRate;

  platform::SoundMixer& engine = platform::SoundEngine();
  auto& current = Current();
  // The sound still playing ends where this one is heard to start.
  const int64_t start = engine.StampFrame();
  if (current) current->StopAt(start);
  current = std::make_shared<platform::BufferSource>(std::move(buffer), start);
  engine.AddSource(current);

  // Waiting for the end makes sense only where time moves by itself; the
  // wait is bounded by the sound's own length.
  if (!(flags & SND_ASYNC) && engine.Sink().RealTime()) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds + 1.0);
    while (IsSoundBusy() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  return true;
}

}  // namespace basSound
