#include "engine/doppler_gain.h"

#include <cmath>
#include <numbers>

namespace tessaly {

DopplerGain::DopplerGain(int sampleRate) : sampleRate_(sampleRate), normal_(0.0, std::sqrt(0.5)) {
    // A power spectrum exp(-f^2 / (2 s^2)) with s = spread / 2 needs an amplitude
    // response exp(-f^2 / (4 s^2)): a Gaussian impulse response of standard deviation
    // 1 / (2 sqrt(2) pi s) seconds, here in low-rate samples.
    const double sigmaHz = 0.5;  // per hertz of spread
    const double sigmaSamples = kSamplesPerHzOfSpread / (2 * std::numbers::sqrt2 * std::numbers::pi * sigmaHz);
    double energy = 0;
    for (int k = -kHalfTaps; k <= kHalfTaps; ++k) {
        const double t = std::exp(-0.5 * (k / sigmaSamples) * (k / sigmaSamples));
        taps_[static_cast<std::size_t>(k + kHalfTaps)] = t;
        energy += t * t;
    }
    // Unit energy: white noise of unit power comes out at unit power.
    for (double& t : taps_) t /= std::sqrt(energy);
    reseed(0);
}

void DopplerGain::setSpread(double spreadHz) {
    step_ = spreadHz > 0 ? spreadHz * kSamplesPerHzOfSpread / sampleRate_ : 0.0;
}

void DopplerGain::reseed(std::uint64_t seed) {
    random_.seed(seed);
    normal_.reset();
    for (std::size_t i = 0; i < whiteRe_.size(); ++i) {
        whiteRe_[i] = normal_(random_);
        whiteIm_[i] = normal_(random_);
    }
    whiteNext_ = 0;
    for (int i = 0; i < 4; ++i) pushPoint();
    phase_ = 0;
}

void DopplerGain::pushPoint() {
    // The oldest white sample is replaced by a new one, then the FIR runs over the ring
    // from the oldest to the newest.
    whiteRe_[static_cast<std::size_t>(whiteNext_)] = normal_(random_);
    whiteIm_[static_cast<std::size_t>(whiteNext_)] = normal_(random_);
    whiteNext_ = (whiteNext_ + 1) % kTaps;
    double re = 0, im = 0;
    for (int k = 0; k < kTaps; ++k) {
        const auto w = static_cast<std::size_t>((whiteNext_ + k) % kTaps);
        re += taps_[static_cast<std::size_t>(k)] * whiteRe_[w];
        im += taps_[static_cast<std::size_t>(k)] * whiteIm_[w];
    }
    for (int i = 0; i < 3; ++i) {
        pointRe_[static_cast<std::size_t>(i)] = pointRe_[static_cast<std::size_t>(i + 1)];
        pointIm_[static_cast<std::size_t>(i)] = pointIm_[static_cast<std::size_t>(i + 1)];
    }
    pointRe_[3] = re;
    pointIm_[3] = im;
}

void DopplerGain::generate(float* re, float* im, int frames, float amplitude) {
    for (int i = 0; i < frames; ++i) {
        // Catmull-Rom between points 1 and 2: continuous in value and slope.
        const double t = phase_, t2 = t * t, t3 = t2 * t;
        const double w0 = 0.5 * (-t + 2 * t2 - t3);
        const double w1 = 0.5 * (2 - 5 * t2 + 3 * t3);
        const double w2 = 0.5 * (t + 4 * t2 - 3 * t3);
        const double w3 = 0.5 * (-t2 + t3);
        re[i] = amplitude * static_cast<float>(w0 * pointRe_[0] + w1 * pointRe_[1] + w2 * pointRe_[2] + w3 * pointRe_[3]);
        im[i] = amplitude * static_cast<float>(w0 * pointIm_[0] + w1 * pointIm_[1] + w2 * pointIm_[2] + w3 * pointIm_[3]);
        phase_ += step_;
        while (phase_ >= 1) {
            phase_ -= 1;
            pushPoint();
        }
    }
}

}  // namespace tessaly
