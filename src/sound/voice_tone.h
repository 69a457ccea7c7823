#pragma once
// How a station's voice sounds: the playback rate of the reader's clips and the
// tone boost the equaliser gives them.
#include "sound/sound_api.h"

namespace tessaly {

// Clips are recorded at 11025 Hz and played at twice that rate.
constexpr int kClipFrequency = 22050;

// The voice's tone: the widest, strongest boost the equaliser takes, centred on
// `centreHz` (the tone slider, or a tone sweep's current centre).
constexpr float kToneBoostBandwidthSemitones = 36.0f;
constexpr float kToneBoostGainDb = 15.0f;
inline ParamEqParameters toneBoost(int centreHz) {
    return {static_cast<float>(centreHz), kToneBoostBandwidthSemitones, kToneBoostGainDb};
}

}  // namespace tessaly
