#pragma once
// A recording resampled to the output rate for one playback frequency.
//
// The mixer never resamples while it renders: each (recording, frequency) pair is
// resampled once, at full quality, off the audio thread, and the audio callback then
// only reads frames, filters, scales and sums them. Streaming sinc resamplers cost
// 10-20 M frames/s per voice here, too slow for the mixer's budget, and libsoxr's
// streaming calls allocate inside the audio thread; a one-off rendering has neither
// problem and makes positions exact in output frames.
#include "engine/wave_decoder.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tessaly {

struct Rendition {
    // One pass of the recording at the output rate. Resampled as a cycle (the signal
    // before the first frame is the recording's end), so a loop has no seam; a clip
    // played once is silent at both ends anyway.
    const float* frames = nullptr;
    std::size_t length = 0;
    // What `frames` points into: the resampler's own output, written once, never
    // zero-filled or copied.
    std::unique_ptr<float[]> storage;
};

// The longest rendition made (2^25 frames, about 11 minutes at 48000 Hz): a recording
// slowed down further would not fit in memory sensibly, so playing it fails.
constexpr std::size_t kMaxRenditionFrames = std::size_t{1} << 25;

// The number of output frames one pass lasts: round(frames x outputRate / frequency).
std::size_t renditionLength(std::size_t recordedFrames, int frequency, int outputRate);

// Null with a reason when the rendition would be too long or the resampler fails.
std::shared_ptr<const Rendition> makeRendition(const Wave& wave, int frequency, int outputRate, std::string& error);

}  // namespace tessaly
