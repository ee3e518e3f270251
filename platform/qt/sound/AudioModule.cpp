// The audio module's one entry point, looked up by the sound engine when
// sound output is first wanted.
#include "platform/qt/sound/AudioDevice.h"

extern "C" __attribute__((visibility("default"))) bool KvInstallAudioDevice() {
  return platform::qt::InstallAudioDeviceSink();
}
