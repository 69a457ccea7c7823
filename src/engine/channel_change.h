#pragma once
// What the channel stage is told: where each voice sounds (its bus) and the changes
// of the stage's parameters. Plain values, copied through the mixer's command queue.
#include "engine/agc.h"
#include "sound/sound_api.h"

#include <cstdint>

namespace tessaly {


struct ChannelChange {
    enum class What : std::uint8_t {
        NoiseGain,  // gain: the band noise's level beyond its buffer's volume (linear); glides
        Path,       // bus (a station): its ionospheric path becomes pathPreset, its gains drawn from seed
        Receiver,   // passband on or off, agc
    };
    What what = What::NoiseGain;
    Bus bus = Bus::Reader;
    float gain = 1.0f;
    int pathPreset = 0;  // index into the path presets; 0 is off
    std::uint64_t seed = 0;
    bool passband = false;
    AgcSpeed agc = AgcSpeed::Off;
};

}  // namespace tessaly
