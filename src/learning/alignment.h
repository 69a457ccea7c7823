#pragma once
// How an answer lines up with the units that were read: which units were copied,
// which were written as something else, which were left out, and what was typed
// that was never read.
#include "learning/read_units.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class Copy { copied, substituted, omitted };

struct UnitCopy {
    ReadUnit unit;
    Copy copy = Copy::omitted;
    std::string writtenAs;  // the answer's token for it; empty when omitted
    bool operator==(const UnitCopy&) const = default;
};

struct Insertion {
    std::size_t beforeUnit = 0;  // index of the unit it was typed before; the unit count for the end
    std::string token;
    bool operator==(const Insertion&) const = default;
};

struct Alignment {
    std::vector<UnitCopy> units;       // one per unit read, in reading order
    std::vector<Insertion> inserted;   // in typing order
    int edits() const;                 // substitutions + omissions + insertions
};

// The alignment with the fewest edits (each costs 1). The answer is split into
// characters, except that "QRP" copies a QRP unit as one token. Among alignments
// with the fewest edits, one with the fewest omissions and insertions wins, so a
// swapped pair is two substitutions; what is still open is settled from the
// start of the answer on, preferring a match, then a substitution, then an
// omission, then an insertion (so "W1AW/M" for "W1AW/mm" leaves out the second
// MOBILE, as someone who stopped early would).
// Work and memory grow with units x characters, so only the first
// kMostAlignedUnits units and kMostAlignedCharacters characters are aligned: any
// units after them count as left out, any characters as typed at the end.
constexpr std::size_t kMostAlignedUnits = 64;
constexpr std::size_t kMostAlignedCharacters = 256;
Alignment align(std::string_view answer, const std::vector<ReadUnit>& units);

}  // namespace tessaly
