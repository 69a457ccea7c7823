#pragma once
// The one uniform random source of the program. The handlers "reseed from the clock"
// before their draws; here a reseed stirs the clock into the running state instead of
// replacing it, so back-to-back reseeds within one clock tick never repeat a draw.
// With a fixed seed the clock is left out and a run repeats bit for bit.
#include <cstdint>
#include <optional>

namespace tessaly {

class RandomSource {
public:
    // No seed: seeded from the clock, and every reseed stirs in the clock again.
    explicit RandomSource(std::optional<std::uint64_t> fixedSeed = std::nullopt);

    void reseedFromClock();
    double uniform();  // [0, 1)
    // floor(uniform() * span + base): the draw form the handlers use.
    int draw(double span, double base) ;

    bool fixed() const { return fixed_; }

private:
    std::uint64_t next();

    std::uint64_t state_;
    bool fixed_;
};

}  // namespace tessaly
