#include "engine/ssb_passband.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace tessaly {
namespace {

// Writes the order / 2 sections of a Chebyshev type I low-pass or high-pass of even
// order into `out`: 3 dB under its passband maximum at edgeHz, the passband rippling
// between 0 and -rippleDb. Analog prototype, frequency scaling, bilinear transform.
BiquadCoefficients* chebyshev(bool highPass, int order, double rippleDb, double edgeHz, int sampleRate,
                              BiquadCoefficients* out) {
    const double epsilon = std::sqrt(std::pow(10.0, rippleDb / 10) - 1);
    const double mu = std::asinh(1 / epsilon) / order;
    // Where the prototype (ripple edge at 1 rad/s) is 3 dB down.
    const double minus3 = std::cosh(std::acosh(1 / epsilon) / order);
    const double fs2 = 2.0 * sampleRate;
    const double warped = fs2 * std::tan(std::numbers::pi * edgeHz / sampleRate);
    for (int k = 1; k <= order / 2; ++k) {
        const double theta = std::numbers::pi * (2 * k - 1) / (2.0 * order);
        const std::complex<double> prototype(-std::sinh(mu) * std::sin(theta), std::cosh(mu) * std::cos(theta));
        const std::complex<double> unit = prototype / minus3;  // 3 dB down at 1 rad/s
        const std::complex<double> pole = highPass ? warped / unit : unit * warped;
        const std::complex<double> z = (fs2 + pole) / (fs2 - pole);
        BiquadCoefficients& c = *out++;
        c.a1 = -2 * z.real();
        c.a2 = std::norm(z);
        // Zeros at z = -1 (low-pass) or z = 1 (high-pass); unit gain where the section passes.
        const double gain = highPass ? (1 - c.a1 + c.a2) / 4 : (1 + c.a1 + c.a2) / 4;
        c.b0 = gain;
        c.b1 = highPass ? -2 * gain : 2 * gain;
        c.b2 = gain;
    }
    return out;
}

}  // namespace

SsbPassband::SsbPassband(int sampleRate) {
    BiquadCoefficients* next = chebyshev(true, kHighPassOrder, kRippleDb, kLowEdgeHz, sampleRate, sections_.data());
    chebyshev(false, kLowPassOrder, kRippleDb, kHighEdgeHz, sampleRate, next);
    // Even orders start their ripple at the bottom: with every section at unit gain the
    // ripple's peaks would stand kRippleDb above 0 dB in each filter.
    const double peakToUnit = std::pow(10.0, -2 * kRippleDb / 20);
    sections_[0].b0 *= peakToUnit;
    sections_[0].b1 *= peakToUnit;
    sections_[0].b2 *= peakToUnit;
}

void SsbPassband::reset() {
    z1_.fill(0);
    z2_.fill(0);
}

void SsbPassband::process(float* samples, int frames) {
    for (int done = 0; done < frames; done += kBlock) {
        const int n = std::min(kBlock, frames - done);
        float* s = samples + done;
        std::copy_n(s, n, block_.data());
        for (std::size_t k = 0; k < sections_.size(); ++k) {
            const BiquadCoefficients& c = sections_[k];
            double z1 = z1_[k], z2 = z2_[k];
            for (int i = 0; i < n; ++i) {
                const double x = block_[static_cast<std::size_t>(i)];
                const double y = c.b0 * x + z1;
                z1 = c.b1 * x - c.a1 * y + z2;
                z2 = c.b2 * x - c.a2 * y;
                block_[static_cast<std::size_t>(i)] = y;
            }
            // A decaying tail would otherwise end in denormals, which are slow on x86.
            constexpr double kTiny = 1e-30;
            z1_[k] = std::fabs(z1) < kTiny ? 0.0 : z1;
            z2_[k] = std::fabs(z2) < kTiny ? 0.0 : z2;
        }
        std::transform(block_.begin(), block_.begin() + n, s, [](double y) { return static_cast<float>(y); });
    }
}

}  // namespace tessaly
