#pragma once

namespace tessaly {

// Silences what ALSA and JACK print to standard error while PortAudio probes them
// (about 100 lines on a machine without a sound server or card). Idempotent.
void quietAudioLibraries();

}  // namespace tessaly
