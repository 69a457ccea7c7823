#include "engine/peaking_eq.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessaly {

BiquadCoefficients peakingCoefficients(const ParamEqParameters& p, int sampleRate) {
    const double rate = sampleRate;
    const double centre = std::clamp<double>(p.centerHz, 1.0, 0.45 * rate);
    const double octaves = p.bandwidthSemitones / 12.0;
    const double a = std::pow(10.0, p.gainDb / 40.0);  // square root of the linear gain at the centre
    const double w0 = 2.0 * std::numbers::pi * centre / rate;
    const double sinW0 = std::sin(w0), cosW0 = std::cos(w0);
    // Bandwidth in octaves between the points of half the gain in dB, warped for the
    // bilinear transform.
    const double alpha = sinW0 * std::sinh(std::numbers::ln2 / 2.0 * octaves * w0 / sinW0);
    const double a0 = 1.0 + alpha / a;
    BiquadCoefficients c;
    c.b0 = (1.0 + alpha * a) / a0;
    c.b1 = -2.0 * cosW0 / a0;
    c.b2 = (1.0 - alpha * a) / a0;
    c.a1 = -2.0 * cosW0 / a0;
    c.a2 = (1.0 - alpha / a) / a0;
    return c;
}

void PeakingEq::process(float* samples, int count) {
    double z1 = z1_, z2 = z2_;
    for (int i = 0; i < count; ++i) {
        const double x = samples[i];
        const double y = c_.b0 * x + z1;
        z1 = c_.b1 * x - c_.a1 * y + z2;
        z2 = c_.b2 * x - c_.a2 * y;
        samples[i] = static_cast<float>(y);
    }
    // A decaying tail would otherwise end in denormals, which are slow on x86.
    constexpr double kTiny = 1e-30;
    z1_ = std::fabs(z1) < kTiny ? 0.0 : z1;
    z2_ = std::fabs(z2) < kTiny ? 0.0 : z2;
}

}  // namespace tessaly
