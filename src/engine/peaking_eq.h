#pragma once
// The voice's tone: a peaking equaliser (the biquad of R. Bristow-Johnson's audio EQ
// cookbook) taking a centre in Hz, a bandwidth in semitones and a gain in dB, as the
// sound platform's parametric equaliser does.
#include "sound/sound_api.h"

namespace tessaly {

struct BiquadCoefficients {
    // Normalised by a0. Identity by default.
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
};

// Coefficients for output rate `sampleRate` (frames per second). The centre is kept
// below 0.45 x the sample rate, where the filter is still well defined.
BiquadCoefficients peakingCoefficients(const ParamEqParameters& p, int sampleRate);

// The filter's state. Coefficients may change between blocks without resetting it,
// so a moving centre sweeps smoothly instead of restarting the filter.
class PeakingEq {
public:
    void setCoefficients(const BiquadCoefficients& c) { c_ = c; }
    void reset() { z1_ = z2_ = 0; }
    // In place, transposed direct form II in double precision (low centres at 48000 Hz
    // put the poles close to 1, where single precision would hiss).
    void process(float* samples, int count);

private:
    BiquadCoefficients c_;
    double z1_ = 0, z2_ = 0;
};

}  // namespace tessaly
