#pragma once
// The generator's one source of randomness. std::mt19937_64 is used for its raw
// output only, which the C++ standard fixes bit for bit; the standard
// distributions are left alone because their results differ between library
// versions, and the recordings must come out the same bytes on every build.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace tessaly::noise {

class NoiseRandom {
public:
  explicit NoiseRandom(std::uint64_t seed) : engine_(seed) {}

  // Uniform in [0, 1), 53 bits.
  double uniform() { return static_cast<double>(engine_() >> 11) * 0x1p-53; }

  double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }

  // Standard normal, by Box-Muller (one value per call; simple over fast).
  double gaussian() {
    const double u1 = 1.0 - uniform();  // (0, 1]: log stays finite
    const double u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
  }

  // Waiting time of a Poisson process of the given mean.
  double exponential(double mean) { return -mean * std::log(1.0 - uniform()); }

private:
  std::mt19937_64 engine_;
};

}  // namespace tessaly::noise
