#pragma once
// What a typed callsign means to the stations calling: the one worked, a bust (a
// station's callsign within two characters of it), or a partial query ("4K?") that
// only the stations whose callsign holds that part answer.
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct CallMatch {
    enum class Kind { Worked, Bust, Query, Nothing };
    Kind kind = Kind::Nothing;
    std::vector<std::size_t> stations;  // worked or busted: the one; a query: those that hold the part
    std::string part;                   // a query's part, without its "?"
};

// Levenshtein distance: insertions, deletions and substitutions of one character.
std::size_t editDistance(const std::string& a, const std::string& b);

// `typed` (upper-cased, as the answer box gives it) against the expected copies of the
// stations still calling. A bust names the nearest station, the first of equals.
CallMatch matchCall(const std::string& typed, const std::vector<std::string>& calling);

}  // namespace tessaly
