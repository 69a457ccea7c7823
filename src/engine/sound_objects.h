#pragma once
// The sound platform's device, buffers and equalisers on top of an Engine.
#include "sound/sound_api.h"

#include <memory>

namespace tessaly {

class Engine;

// Frequencies a buffer accepts (samples per second); 0 means the recorded rate.
constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 200000;

// The linear amplitude of a volume in hundredths of a dB: 10^(v/2000), and exactly 0
// at -10000 so that a silenced buffer adds nothing at all.
float amplitudeOf(int hundredthsDb);

std::shared_ptr<SoundDevice> makeSoundDevice(std::shared_ptr<Engine> engine);

}  // namespace tessaly
