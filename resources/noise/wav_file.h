#pragma once
// Writes a recording as a plain RIFF WAVE file (PCM, mono) through libsndfile.
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::noise {

enum class SampleFormat { Pcm16, PcmU8 };

// Samples in 16-bit units; for PcmU8 the low byte must be zero (see quantise8).
// Returns an error message, or an empty text on success.
std::string writeWav(const std::string& path, int rateHz, SampleFormat format,
                     const std::vector<std::int16_t>& samples);

}  // namespace tessaly::noise
