#pragma once
// Where a sound engine finds the WAVE recording of a name: the clips and noise
// recordings built into the program, or anything a host puts in front of them.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace tessaly {

// The bytes of the WAVE file called `name` (matched without regard to case), or nothing.
using WaveLookup = std::function<std::optional<std::span<const std::uint8_t>>(std::string_view name)>;

// The program's own recordings.
WaveLookup builtInWaves();

}  // namespace tessaly
