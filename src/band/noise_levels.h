#pragma once
// Band-noise volume of each level button, hundredths of a dB: off, S1 .. S5.
namespace tessaly {
constexpr int kNoiseLevelVolumes[6] = {-10000, -3000, -2000, -1500, -1000, -500};
}
