#pragma once
// One path's complex gain: a complex Gaussian process of unit mean power whose spectrum
// is Gaussian, with a two-sigma width of the Doppler spread asked for. Its magnitude is
// Rayleigh distributed (the fading), its phase turns with the Doppler shifts.
//
// Complex white Gaussian noise is filtered by a Gaussian FIR at a low rate, 16 samples
// per hertz of spread, and Catmull-Rom interpolated to the audio rate, so that the gain
// changes smoothly from frame to frame. Because that rate is proportional to the spread,
// the filter is the same for every spread: changing the spread only changes how fast the
// process is stepped, and it goes on from where it was.
#include <array>
#include <cstdint>
#include <random>

namespace tessaly {

class DopplerGain {
public:
    // Low-rate samples per second for each hertz of two-sigma spread.
    static constexpr double kSamplesPerHzOfSpread = 16;

    explicit DopplerGain(int sampleRate);

    // Hz, two sigma; 0 holds the gain where it is.
    void setSpread(double spreadHz);
    // Starts the process afresh, in its steady state, from this seed.
    void reseed(std::uint64_t seed);
    // The next `frames` gains, scaled by `amplitude`.
    void generate(float* re, float* im, int frames, float amplitude);

private:
    static constexpr int kHalfTaps = 18;  // the Gaussian FIR spans 5 sigma either side
    static constexpr int kTaps = 2 * kHalfTaps + 1;

    void pushPoint();  // one more filtered low-rate sample into points_

    const double sampleRate_;
    double step_ = 0;   // low-rate samples per frame
    double phase_ = 0;  // position between points_[1] and points_[2], 0..1
    std::array<double, kTaps> taps_{};
    std::array<double, kTaps> whiteRe_{}, whiteIm_{};  // ring of white noise samples
    int whiteNext_ = 0;
    std::array<double, 4> pointRe_{}, pointIm_{};  // the four points the spline runs through
    std::mt19937_64 random_;
    std::normal_distribution<double> normal_;
};

}  // namespace tessaly
