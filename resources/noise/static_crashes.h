#pragma once
// Atmospheric static as a receiver gives it: crashes from distant lightning,
// often in several strokes, and a scatter of clicks and crackle between them,
// of irregular strength and spacing, with busier and quieter stretches.
#include <cstdint>
#include <vector>

namespace tessaly::noise {

inline constexpr int kStaticRateHz = 44100;
inline constexpr int kStaticFrames = 2665845;  // 60.45 s

// One seamless loop, 8-bit samples in 16-bit units (value times 256).
std::vector<std::int16_t> makeStaticCrashes(std::uint64_t seed);

}  // namespace tessaly::noise
