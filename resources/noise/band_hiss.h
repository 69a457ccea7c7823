#pragma once
// The band noise under the reading: the hiss of a receiver with nothing on the
// frequency. It is played at a quarter of the rate it is stored at, so it is
// made four times too high and heard two octaves down.
#include <cstdint>
#include <vector>

namespace tessaly::noise {

inline constexpr int kHissRateHz = 44100;
inline constexpr int kHissFrames = 220500;  // 5.000 s stored, 20 s as played

// One seamless loop, 16-bit samples.
std::vector<std::int16_t> makeBandHiss(std::uint64_t seed);

}  // namespace tessaly::noise
