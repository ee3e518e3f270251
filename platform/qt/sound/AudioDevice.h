#pragma once
// The sound engine's output on the machine's default audio device.

namespace platform::qt {

// Sends the sound engine to the default audio output. False when the
// machine has none (the engine then keeps its silent sink, and its timing).
// Call on the user-interface thread once the application has started.
bool InstallAudioDeviceSink();

}  // namespace platform::qt
