#include "base/random_source.h"

#include <chrono>
#include <cmath>

namespace tessaly {
namespace {
// splitmix64: a small, well-mixed generator; one 64-bit word of state.
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
std::uint64_t clockNanos() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}
}  // namespace

RandomSource::RandomSource(std::optional<std::uint64_t> fixedSeed)
    : state_(fixedSeed ? mix(*fixedSeed) : mix(clockNanos())), fixed_(fixedSeed.has_value()) {}

void RandomSource::reseedFromClock() {
    if (fixed_) return;
    state_ = mix(state_ ^ clockNanos());
}

std::uint64_t RandomSource::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    return mix(state_);
}

double RandomSource::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

int RandomSource::draw(double span, double base) {
    return static_cast<int>(std::floor(uniform() * span + base));
}

}  // namespace tessaly
