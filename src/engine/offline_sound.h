#pragma once
// Rendering in virtual time: every platform operation first renders the output up to
// the frame of the virtual clock, then applies, so a clip started at virtual time t
// begins at output frame round(t x rate / 1000) exactly.
#include "engine/frame_clock.h"
#include "engine/sound_outputs.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace tessaly {

// Where rendered frames go: mono, in order, as floats in [-1, 1].
class FrameSink {
public:
    virtual ~FrameSink() = default;
    // False when writing failed: nothing more is mixed or written after it, and
    // close() reports the failure.
    virtual bool write(std::span<const float> mono) = 0;
    virtual bool close(std::string& error) = 0;
};

// outputGainDb scales the finished mix (the program's outputs use kOutputHeadroomDb).
std::unique_ptr<OfflineSound> makeOfflineSound(int sampleRate, std::function<std::int64_t()> nowMs,
                                               std::unique_ptr<FrameSink> sink, WaveLookup waves,
                                               float outputGainDb = 0.0f);

}  // namespace tessaly
