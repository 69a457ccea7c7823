#include "voices/clip_conditioning.h"

#include <algorithm>
#include <cmath>

namespace tessaly {
namespace {

double toDb(double amplitude) { return amplitude > 0 ? 20.0 * std::log10(amplitude) : -200.0; }

}  // namespace

std::optional<ConditionedClip> conditionRecording(std::span<const float> x, const ConditioningRule& rule) {
    const auto n = static_cast<std::ptrdiff_t>(x.size());
    const std::ptrdiff_t w = rule.levelWindow;
    float peak = 0;
    for (float s : x) peak = std::max(peak, std::abs(s));
    if (peak <= 0 || n < w) return std::nullopt;

    // A window is loud when its mean square reaches (peak x 10^(soundDb/20))^2.
    const double threshold = std::pow(peak * std::pow(10.0, rule.soundDb / 20.0), 2.0) * static_cast<double>(w);
    std::vector<double> energy(static_cast<std::size_t>(n) + 1, 0.0);  // prefix sums of squares
    for (std::ptrdiff_t i = 0; i < n; ++i)
        energy[static_cast<std::size_t>(i) + 1] = energy[static_cast<std::size_t>(i)] + double{x[static_cast<std::size_t>(i)]} * x[static_cast<std::size_t>(i)];
    auto loud = [&](std::ptrdiff_t start) {
        return energy[static_cast<std::size_t>(start + w)] - energy[static_cast<std::size_t>(start)] >= threshold;
    };
    std::ptrdiff_t firstWindow = -1, lastWindow = -1;
    for (std::ptrdiff_t i = 0; i + w <= n; ++i)
        if (loud(i)) {
            firstWindow = i;
            break;
        }
    if (firstWindow < 0) return std::nullopt;
    for (std::ptrdiff_t i = n - w; i >= 0; --i)
        if (loud(i)) {
            lastWindow = i;
            break;
        }
    // The first sound closes the first loud window; the last sound opens the last one.
    const std::ptrdiff_t firstSound = firstWindow + w - 1, lastSound = lastWindow;
    const std::ptrdiff_t from = std::max<std::ptrdiff_t>(0, firstSound - rule.preroll);
    const std::ptrdiff_t to = std::min<std::ptrdiff_t>(n - 1, lastSound + rule.postroll);

    ConditionedClip clip;
    clip.samples.assign(x.begin() + from, x.begin() + to + 1);
    double sum = 0;
    float trimmedPeak = 0;
    for (float s : clip.samples) {
        sum += double{s} * s;
        trimmedPeak = std::max(trimmedPeak, std::abs(s));
    }
    const double rmsDb = toDb(std::sqrt(sum / static_cast<double>(clip.samples.size())));
    const double gainDb = std::min(rule.targetRmsDb - rmsDb, rule.peakCapDb - toDb(trimmedPeak));
    const auto gain = static_cast<float>(std::pow(10.0, gainDb / 20.0));
    const auto frames = static_cast<std::ptrdiff_t>(clip.samples.size());
    for (std::ptrdiff_t i = 0; i < frames; ++i) {
        float g = gain;
        if (i < rule.fadeIn) g *= static_cast<float>(i) / static_cast<float>(rule.fadeIn);
        if (frames - 1 - i < rule.fadeOut) g *= static_cast<float>(frames - 1 - i) / static_cast<float>(rule.fadeOut);
        clip.samples[static_cast<std::size_t>(i)] *= g;
    }
    sum = 0;
    trimmedPeak = 0;
    for (float s : clip.samples) {
        sum += double{s} * s;
        trimmedPeak = std::max(trimmedPeak, std::abs(s));
    }
    clip.rmsDb = toDb(std::sqrt(sum / static_cast<double>(frames)));
    clip.peakDb = toDb(trimmedPeak);
    clip.seconds = static_cast<double>(frames) / rule.rate;
    return clip;
}

}  // namespace tessaly
