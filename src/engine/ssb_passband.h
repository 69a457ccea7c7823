#pragma once
// An SSB receiver's audio passband, 300 to 2700 Hz between its -3 dB points: a
// Chebyshev high-pass of order 4 and low-pass of order 8 (0.1 dB ripple), made by the
// bilinear transform and run as six biquads in double precision. Noise below 150 Hz
// comes out at least 30 dB down and above 3300 Hz at least 28 dB down, about what a
// receiver's eight-pole crystal filter leaves.
#include "engine/peaking_eq.h"

#include <array>

namespace tessaly {

class SsbPassband {
public:
    static constexpr double kLowEdgeHz = 300;   // -3 dB
    static constexpr double kHighEdgeHz = 2700; // -3 dB
    static constexpr int kHighPassOrder = 4;
    static constexpr int kLowPassOrder = 8;
    static constexpr double kRippleDb = 0.1;

    explicit SsbPassband(int sampleRate);

    void reset();
    // In place; any number of frames.
    void process(float* samples, int frames);

private:
    static constexpr int kSections = (kHighPassOrder + kLowPassOrder) / 2;
    static constexpr int kBlock = 256;

    std::array<BiquadCoefficients, kSections> sections_{};
    std::array<double, kSections> z1_{}, z2_{};
    std::array<double, kBlock> block_{};
};

}  // namespace tessaly
