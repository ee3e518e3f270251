#pragma once
// The sound engine's output on the sound server's default device.

namespace platform::qt {

// Sends the sound engine to the sound server's default output. False when
// no server answers (the engine then keeps its silent sink, and its timing).
// Call on the user-interface thread once the application has started.
bool InstallAudioDeviceSink();

}  // namespace platform::qt
