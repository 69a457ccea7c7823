#include "engine/hilbert_transformer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessaly {
namespace {

// The window's stopband attenuation, dB. The transform's response jumps by 2 at 0 Hz,
// so its ripple is 2 x 10^(-40/20) = 2 % either side of 1.
constexpr double kAttenuationDb = 40;

int halfLength(int sampleRate) {
    // Kaiser's estimate of the length for a transition of 2 x kAccurateFromHz centred
    // on 0 Hz (and on half the rate), rounded up to an odd half length: with it the
    // outermost taps are odd offsets, which are the nonzero ones.
    const double transition = 2 * std::numbers::pi * 2 * HilbertTransformer::kAccurateFromHz / sampleRate;
    const int order = static_cast<int>(std::ceil((kAttenuationDb - 8) / (2.285 * transition)));
    int half = (order + 1) / 2;
    if (half % 2 == 0) ++half;
    return std::max(half, 3);
}

}  // namespace

HilbertTransformer::HilbertTransformer(int sampleRate) : half_(halfLength(sampleRate)) {
    const double beta = 0.5842 * std::pow(kAttenuationDb - 21, 0.4) + 0.07886 * (kAttenuationDb - 21);
    const double norm = std::cyl_bessel_i(0.0, beta);
    for (int k = 1; k <= half_; k += 2) {
        const double r = static_cast<double>(k) / half_;
        const double window = std::cyl_bessel_i(0.0, beta * std::sqrt(std::max(0.0, 1 - r * r))) / norm;
        odd_.push_back(static_cast<float>(2 / (std::numbers::pi * k) * window));
    }
    history_.assign(static_cast<std::size_t>(2 * half_ + kMaxFrames), 0.0f);
}

void HilbertTransformer::reset() { std::fill(history_.begin(), history_.end(), 0.0f); }

void HilbertTransformer::process(const float* in, float* re, float* im, int frames) {
    const int m = half_;
    float* h = history_.data();
    std::copy_n(in, frames, h + 2 * m);
    // Output i is centred on history index m + i, the input of delay() frames ago.
    const float* centre = h + m;
    std::copy_n(centre, frames, re);
    std::fill_n(im, frames, 0.0f);
    // Tap by tap over the block: each output adds its taps in the same order, and the
    // loop over the block runs four or eight frames at a time (the outputs do not alias
    // the history).
    float* __restrict out = im;
    for (std::size_t j = 0; j < odd_.size(); ++j) {
        const int k = static_cast<int>(2 * j + 1);
        const float c = odd_[j];
        const float* __restrict before = centre - k;
        const float* __restrict after = centre + k;
        for (int i = 0; i < frames; ++i) out[i] += c * (before[i] - after[i]);
    }
    std::copy(h + frames, h + frames + 2 * m, h);
}

}  // namespace tessaly
