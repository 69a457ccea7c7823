#include "learning/alignment.h"

#include "base/utf8.h"

#include <algorithm>
#include <limits>

namespace tessaly {
namespace {

// A path's cost: its edits first, then its gaps (omissions and insertions), as one
// number, edits x kPerEdit + gaps. Gaps never reach kPerEdit (there are at most
// kMostAlignedUnits + kMostAlignedCharacters of them), so comparing the numbers
// compares edits, then gaps; and costs add up along a path as the pairs would.
using Cost = int;
constexpr Cost kPerEdit = 1024;
static_assert(kMostAlignedUnits + kMostAlignedCharacters < kPerEdit);
constexpr Cost kFree = 0;
constexpr Cost kSubstitution = kPerEdit;
constexpr Cost kGap = kPerEdit + 1;
constexpr Cost kUnreachable = std::numeric_limits<int>::max() / 4;

enum class Step { none, match, wholeQrp, substitution, omission, insertion };

// A character as a number, equal for equal characters: its code point, or for a
// byte of no valid sequence (a token of its own) a number past every code point.
int characterNumber(std::string_view character) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(character[i]); };
    if (character.size() == 1) return byte(0) < 0x80 ? byte(0) : 0x110000 + byte(0);
    int value = byte(0) & (0x7F >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i) value = (value << 6) | (byte(i) & 0x3F);
    return value;
}

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
    const std::size_t width = m + 1;
    // rest[i * width + j]: the cost of copying the units from i on as the tokens
    // from j on. Working on what is left lets the walk below settle ties from the start.
    std::vector<Cost> rest((n + 1) * width, kUnreachable);
    std::vector<char> qrpAt(m + 1, 0);  // "Q" "R" "P" from token j on
    for (std::size_t j = 0; j + 3 <= m; ++j) qrpAt[j] = tokens[j] == "Q" && tokens[j + 1] == "R" && tokens[j + 2] == "P";
    // Tokens and the units' written forms as numbers, for the table's inner loop; a
    // written form of more than one character ("QRP") matches no single token.
    std::vector<int> token(m), written(n);
    for (std::size_t j = 0; j < m; ++j) token[j] = characterNumber(tokens[j]);
    for (std::size_t i = 0; i < n; ++i)
        written[i] = utf8Characters(units[i].written).size() == 1 ? characterNumber(units[i].written) : -1;
    const auto at = [&](std::size_t i, std::size_t j) -> Cost& { return rest[i * width + j]; };
    // The ways on from cell (i, j) that are allowed, each with the cost it leads to.
    const auto candidate = [&](Step step, std::size_t i, std::size_t j) -> Cost {
        switch (step) {
            case Step::match:
                if (i == n || j == m || token[j] != written[i]) return kUnreachable;
                return at(i + 1, j + 1) + kFree;
            case Step::wholeQrp:
                if (i == n || !qrpAt[j] || units[i].name != "QRP") return kUnreachable;
                return at(i + 1, j + 3) + kFree;
            case Step::substitution:
                if (i == n || j == m || token[j] == written[i]) return kUnreachable;
                return at(i + 1, j + 1) + kSubstitution;
            case Step::omission:
                if (i == n) return kUnreachable;
                return at(i + 1, j) + kGap;
            case Step::insertion:
                if (j == m) return kUnreachable;
                return at(i, j + 1) + kGap;
            case Step::none:
                break;
        }
        return kUnreachable;
    };
    // Also the order of preference when several ways are equally good.
    constexpr Step kSteps[] = {Step::match, Step::wholeQrp, Step::substitution, Step::omission, Step::insertion};

    // The last row (no unit left): every token left is an insertion.
    for (std::size_t j = 0; j <= m; ++j) at(n, j) = static_cast<Cost>(m - j) * kGap;
    for (std::size_t i = n; i-- > 0;) {
        const bool qrpUnit = units[i].name == "QRP";
        const int unitWritten = written[i];
        Cost* here = &rest[i * width];
        const Cost* below = &rest[(i + 1) * width];
        here[m] = below[m] + kGap;
        for (std::size_t j = m; j-- > 0;) {
            Cost best = std::min(below[j] + kGap, here[j + 1] + kGap);
            best = std::min(best, below[j + 1] + (token[j] == unitWritten ? kFree : kSubstitution));
            if (qrpUnit && qrpAt[j]) best = std::min(best, below[j + 3]);
            here[j] = best;
        }
    }

    Alignment result;
    result.units.reserve(n);
    for (std::size_t i = 0, j = 0; i < n || j < m;) {
        Step taken = Step::none;
        for (const Step step : kSteps)
            if (candidate(step, i, j) == at(i, j)) {
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
