#include "pileup/call_matching.h"

#include <algorithm>
#include <numeric>

namespace tessaly {
namespace {

// A bust is a copy at most this many characters away from a station's callsign.
constexpr std::size_t kBustDistance = 2;

}  // namespace

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

CallMatch matchCall(const std::string& typed, const std::vector<std::string>& calling) {
    CallMatch match;
    if (typed.empty()) return match;
    if (typed.back() == '?') {
        match.kind = CallMatch::Kind::Query;
        match.part = typed.substr(0, typed.size() - 1);
        for (std::size_t i = 0; i < calling.size(); ++i)
            if (!match.part.empty() && calling[i].find(match.part) != std::string::npos) match.stations.push_back(i);
        return match;
    }
    for (std::size_t i = 0; i < calling.size(); ++i)
        if (calling[i] == typed) return {CallMatch::Kind::Worked, {i}, {}};
    std::size_t nearest = calling.size(), best = kBustDistance + 1;
    for (std::size_t i = 0; i < calling.size(); ++i)
        if (const std::size_t d = editDistance(typed, calling[i]); d < best) best = d, nearest = i;
    if (nearest < calling.size()) return {CallMatch::Kind::Bust, {nearest}, {}};
    return match;
}

}  // namespace tessaly
