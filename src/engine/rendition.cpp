#include "engine/rendition.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessaly {
namespace {

// Input frames of context on either side of the cycle: more than the resampling
// filter reaches (a few hundred input frames at the ratios in use), so the cycle's
// first and last frames see their true neighbours. Extreme slowing down gets less,
// so that the context does not cost more output than the recording itself.
std::size_t contextFrames(double ratio) {
    return std::clamp<std::size_t>(static_cast<std::size_t>(65536.0 / ratio), 1024, 4096);
}

}  // namespace

std::size_t renditionLength(std::size_t recordedFrames, int frequency, int outputRate) {
    if (recordedFrames == 0 || frequency <= 0 || outputRate <= 0) return 0;
    const double exact = static_cast<double>(recordedFrames) * outputRate / frequency;
    return std::max<std::size_t>(1, static_cast<std::size_t>(std::llround(exact)));
}

std::shared_ptr<const Rendition> makeRendition(const Wave& wave, int frequency, int outputRate, std::string& error) {
    auto rendition = std::make_shared<Rendition>();
    const std::size_t n = wave.samples.size();
    const std::size_t length = renditionLength(n, frequency, outputRate);
    if (length > kMaxRenditionFrames) {
        error = "the recording would last too long at this frequency";
        return nullptr;
    }
    if (length == n) {  // played at the output rate: nothing to resample
        rendition->storage.reset(new float[n]);
        std::copy(wave.samples.begin(), wave.samples.end(), rendition->storage.get());
        rendition->frames = rendition->storage.get();
        rendition->length = n;
        return rendition;
    }
    // Resample [context | cycle | context] at exactly `length` output frames per cycle
    // (a pitch error below 1/length when the rates do not divide evenly, inaudible),
    // then keep the middle cycle. Choosing the context as a whole number of periods of
    // the ratio n:length makes the cycle start on an output frame exactly; otherwise
    // it is off by less than one output frame.
    const double ratio = static_cast<double>(length) / static_cast<double>(n);
    const std::size_t period = n / std::gcd(n, length);
    const std::size_t minimum = contextFrames(ratio);
    std::size_t context = minimum;
    if (period <= 4 * minimum) context = period * ((minimum + period - 1) / period);
    // Buffers are sized once and every frame of them is written before it is read:
    // no zero-filling, no growing, no copy of the result.
    const std::size_t inputLength = n + 2 * context;
    const std::unique_ptr<float[]> input(new float[inputLength]);
    const std::size_t lead = n - context % n;  // the input's first frame, in the recording
    for (std::size_t i = 0; i < inputLength; ++i) input[i] = wave.samples[(i + lead) % n];

    const auto start = static_cast<std::size_t>(std::ceil(static_cast<double>(context) * ratio - 1e-9));
    const auto capacity = static_cast<std::size_t>(std::ceil(static_cast<double>(inputLength) * ratio)) + 16;
    rendition->storage.reset(new float[capacity]);
    std::size_t used = 0, made = 0;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_error_t failure = soxr_oneshot(static_cast<double>(n), static_cast<double>(length), 1, input.get(),
                                              inputLength, &used, rendition->storage.get(), capacity, &made, nullptr,
                                              &quality, nullptr);
    if (failure || made < start + length) {
        error = failure ? failure : "the resampler gave too few frames";
        return nullptr;
    }
    rendition->frames = rendition->storage.get() + start;
    rendition->length = length;
    return rendition;
}

}  // namespace tessaly
