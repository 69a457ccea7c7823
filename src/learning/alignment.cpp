#include "learning/alignment.h"

#include "base/utf8.h"

#include <algorithm>
#include <compare>
#include <limits>

namespace tessaly {
namespace {

// Edits first, then gaps (omissions and insertions): ordered pairs add up along a
// path, so the table below finds the best path under both at once.
struct Cost {
    int edits = 0;
    int gaps = 0;
    auto operator<=>(const Cost&) const = default;
    Cost operator+(Cost other) const { return {edits + other.edits, gaps + other.gaps}; }
};

constexpr Cost kFree{0, 0};
constexpr Cost kSubstitution{1, 0};
constexpr Cost kGap{1, 1};
constexpr Cost kUnreachable{std::numeric_limits<int>::max() / 4, 0};

enum class Step { none, match, wholeQrp, substitution, omission, insertion };

}  // namespace

int Alignment::edits() const {
    const auto missed = std::count_if(units.begin(), units.end(), [](const UnitCopy& u) { return u.copy != Copy::copied; });
    return static_cast<int>(missed + inserted.size());
}

Alignment align(std::string_view answer, const std::vector<ReadUnit>& units) {
    const std::vector<std::string_view> tokens = utf8Characters(answer);
    // The table below grows with both lengths: past the bounds the rest of the
    // units is left out and the rest of the answer inserted, at the end.
    const std::size_t n = std::min(units.size(), kMostAlignedUnits);
    const std::size_t m = std::min(tokens.size(), kMostAlignedCharacters);
    const auto qrpAt = [&](std::size_t j) {
        return j + 3 <= m && tokens[j] == "Q" && tokens[j + 1] == "R" && tokens[j + 2] == "P";
    };
    // rest[i][j]: the cost of copying the units from i on as the tokens from j on.
    // Working on what is left lets the walk below settle ties from the start.
    std::vector<std::vector<Cost>> rest(n + 1, std::vector<Cost>(m + 1, kUnreachable));
    // The ways on from cell (i, j) that are allowed, each with the cost it leads to.
    const auto candidate = [&](Step step, std::size_t i, std::size_t j) -> Cost {
        switch (step) {
            case Step::match:
                if (i == n || j == m || tokens[j] != units[i].written) return kUnreachable;
                return rest[i + 1][j + 1] + kFree;
            case Step::wholeQrp:
                if (i == n || units[i].name != "QRP" || !qrpAt(j)) return kUnreachable;
                return rest[i + 1][j + 3] + kFree;
            case Step::substitution:
                if (i == n || j == m || tokens[j] == units[i].written) return kUnreachable;
                return rest[i + 1][j + 1] + kSubstitution;
            case Step::omission:
                if (i == n) return kUnreachable;
                return rest[i + 1][j] + kGap;
            case Step::insertion:
                if (j == m) return kUnreachable;
                return rest[i][j + 1] + kGap;
            case Step::none:
                break;
        }
        return kUnreachable;
    };
    // Also the order of preference when several ways are equally good.
    constexpr Step kSteps[] = {Step::match, Step::wholeQrp, Step::substitution, Step::omission, Step::insertion};

    rest[n][m] = kFree;
    for (std::size_t i = n + 1; i-- > 0;)
        for (std::size_t j = m + 1; j-- > 0;)
            for (const Step step : kSteps) rest[i][j] = std::min(rest[i][j], candidate(step, i, j));

    Alignment result;
    result.units.reserve(n);
    for (std::size_t i = 0, j = 0; i < n || j < m;) {
        Step taken = Step::none;
        for (const Step step : kSteps)
            if (candidate(step, i, j) == rest[i][j]) {
                taken = step;
                break;
            }
        switch (taken) {
            case Step::match:
            case Step::substitution:
                result.units.push_back({units[i++], taken == Step::match ? Copy::copied : Copy::substituted,
                                        std::string(tokens[j++])});
                break;
            case Step::wholeQrp:
                result.units.push_back({units[i++], Copy::copied, "QRP"});
                j += 3;
                break;
            case Step::omission:
                result.units.push_back({units[i++], Copy::omitted, ""});
                break;
            case Step::insertion:
                result.inserted.push_back({i, std::string(tokens[j++])});
                break;
            case Step::none:
                return result;  // not reached: every cell but the last has a way on
        }
    }
    for (std::size_t i = n; i < units.size(); ++i) result.units.push_back({units[i], Copy::omitted, ""});
    for (std::size_t j = m; j < tokens.size(); ++j) result.inserted.push_back({units.size(), std::string(tokens[j])});
    return result;
}

}  // namespace tessaly
