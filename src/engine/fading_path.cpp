#include "engine/fading_path.h"

#include <algorithm>
#include <cmath>

namespace tessaly {
namespace {

// Spreads a seed over all 64 bits, so that seeds 1, 2, 3 give unrelated streams.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Each path carries half the mean power.
const float kPathAmplitude = static_cast<float>(std::sqrt(0.5));

}  // namespace

FadingPath::FadingPath(int sampleRate)
    : rate_(sampleRate),
      maxDelay_(static_cast<int>(std::lround(longestPathDelayMs() * sampleRate / 1000))),
      hilbert_(sampleRate),
      direct_(sampleRate),
      delayed_(sampleRate),
      pastRe_(static_cast<std::size_t>(maxDelay_ + kBlock), 0.0f),
      pastIm_(static_cast<std::size_t>(maxDelay_ + kBlock), 0.0f) {
    reseed(0);
}

void FadingPath::setPreset(const PathPreset& preset) {
    const bool active = preset.dopplerSpreadHz > 0;
    if (active && !active_) {
        // process() was not called while off: what the filters hold is stale.
        hilbert_.reset();
        std::fill(pastRe_.begin(), pastRe_.end(), 0.0f);
        std::fill(pastIm_.begin(), pastIm_.end(), 0.0f);
        quietFrames_ = 0;
    }
    active_ = active;
    delay_ = std::clamp(static_cast<int>(std::lround(preset.delayMs * rate_ / 1000)), 0, maxDelay_);
    direct_.setSpread(preset.dopplerSpreadHz);
    delayed_.setSpread(preset.dopplerSpreadHz);
}

void FadingPath::reseed(std::uint64_t seed) {
    direct_.reseed(mix(seed));
    delayed_.reseed(mix(seed ^ 0x5bd1e9955bd1e995ULL));
}

void FadingPath::process(float* samples, int frames) {
    if (!active_) return;
    for (int done = 0; done < frames; done += kBlock) processBlock(samples + done, std::min(kBlock, frames - done));
}

void FadingPath::processBlock(float* samples, int frames) {
    const bool silent = std::all_of(samples, samples + frames, [](float x) { return x == 0.0f; });
    if (silent && quietFrames_ >= 2L * hilbert_.delay() + maxDelay_) {
        direct_.generate(gainRe_.data(), gainIm_.data(), frames, kPathAmplitude);
        delayed_.generate(gain2Re_.data(), gain2Im_.data(), frames, kPathAmplitude);
        quietFrames_ += frames;
        return;
    }
    quietFrames_ = silent ? quietFrames_ + frames : 0;
    float* re = pastRe_.data() + maxDelay_;
    float* im = pastIm_.data() + maxDelay_;
    hilbert_.process(samples, re, im, frames);
    direct_.generate(gainRe_.data(), gainIm_.data(), frames, kPathAmplitude);
    delayed_.generate(gain2Re_.data(), gain2Im_.data(), frames, kPathAmplitude);
    const float* lateRe = re - delay_;
    const float* lateIm = im - delay_;
    for (int i = 0; i < frames; ++i) {
        // Re{g1 z(t) + g2 z(t - delay)}
        samples[i] = gainRe_[static_cast<std::size_t>(i)] * re[i] - gainIm_[static_cast<std::size_t>(i)] * im[i] +
                     gain2Re_[static_cast<std::size_t>(i)] * lateRe[i] -
                     gain2Im_[static_cast<std::size_t>(i)] * lateIm[i];
    }
    std::copy(pastRe_.begin() + frames, pastRe_.begin() + frames + maxDelay_, pastRe_.begin());
    std::copy(pastIm_.begin() + frames, pastIm_.begin() + frames + maxDelay_, pastIm_.begin());
}

}  // namespace tessaly
