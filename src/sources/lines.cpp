#include "sources/lines.h"

namespace tessaly {

LineIndex::LineIndex(std::string_view text) {
    if (text.empty()) return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.push_back(text.substr(start));
            return;
        }
        lines_.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

std::string_view LineIndex::line(int linenum) const {
    if (linenum < 1 || linenum > count()) return {};
    return lines_[static_cast<std::size_t>(linenum - 1)];
}

std::string readline(std::string_view strtext, int linenum) { return std::string(LineIndex(strtext).line(linenum)); }

int linecount(std::string_view strtext) { return LineIndex(strtext).count(); }

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
