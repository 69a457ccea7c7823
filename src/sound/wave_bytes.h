#pragma once
// A recording as the bytes of a plain PCM WAVE file (the 44-byte canonical header),
// made in memory: the form in which the engine takes recordings by name.
#include <cstdint>
#include <span>
#include <vector>

namespace tessaly {

// Samples in [-1, 1], interleaved when channels > 1; bits is 8 (unsigned) or 16
// (signed). Samples beyond full scale are clipped.
std::vector<std::uint8_t> pcmWaveBytes(int sampleRate, int bits, std::span<const float> samples, int channels = 1);

}  // namespace tessaly
