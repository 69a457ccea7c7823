#include "sources/random_picks.h"

namespace tessaly {

std::vector<std::int32_t> GetRndNotRepeat(std::int32_t NumMin, std::int32_t NumMax, std::int32_t n,
                                          RandomSource& random) {
    const std::int64_t span = std::int64_t{NumMax} - NumMin + 1;
    if (n < 1 || n > span) return {};
    // One bit per value of the range remembers what was drawn.
    std::vector<std::uint8_t> used(static_cast<std::size_t>((std::int64_t{NumMax} - NumMin) / 8 + 1), 0);
    std::vector<std::int32_t> result;
    result.reserve(static_cast<std::size_t>(n));
    random.reseedFromClock();
    while (static_cast<std::int32_t>(result.size()) < n) {
        const auto offset = static_cast<std::int64_t>(random.uniform() * static_cast<double>(span));
        auto& byte = used[static_cast<std::size_t>(offset / 8)];
        const auto bit = static_cast<std::uint8_t>(1u << (offset % 8));
        if (byte & bit) continue;
        byte |= bit;
        result.push_back(static_cast<std::int32_t>(NumMin + offset));
    }
    return result;
}

}  // namespace tessaly
