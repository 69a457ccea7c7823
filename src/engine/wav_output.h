#pragma once
// The WAV file writer behind makeWavOutput, and the limits it keeps.
#include "engine/offline_sound.h"
#include "engine/sound_outputs.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tessaly {

// The longest sound a WAV output takes: 100 hours, past the longest practice that
// `tessaly render` makes (500 callsigns at the slowest speed with 600 s answer
// pauses: about 86 hours, 30 GB). Anything longer is a mistake, such as a
// script that waits a year.
constexpr std::int64_t kLongestWavSeconds = 100 * 3600;

// A plain WAV file counts its bytes in 32 bits: its data may not pass this.
constexpr std::uint64_t kPlainWavDataBytes = 0xFFFFFFFFull - 36;

struct WavLimits {
    std::uint64_t plainDataBytes = kPlainWavDataBytes;  // past this the file goes on as RF64
    std::uint64_t longestDataBytes = 0;                 // 0: kLongestWavSeconds of the format
};

// Bytes of a WAV file holding `ms` of sound in `format`, header included.
std::uint64_t wavFileBytes(std::int64_t ms, OutputFormat format = {});

// A 16-bit PCM WAV file being written. It stays a plain WAV file, header as ever,
// while its data fits in one; once the data would pass limits.plainDataBytes, what
// was written is copied once into an RF64 file that takes its place and goes on.
// The first write that fails, or that would pass limits.longestDataBytes, fails
// every write after it; close() then says why.
std::unique_ptr<FrameSink> openWavFile(const std::string& path, OutputFormat format, const WavLimits& limits,
                                       std::string& error);

}  // namespace tessaly
