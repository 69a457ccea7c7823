#pragma once
// Which recorded clip speaks a character of the practice text: letters in the word
// set's letter clips ("0".."3" then 01..26), digits in its digit clips ("0" plain,
// "1" examination, then the digit), "/" "PORTABLE", the codes "m" "MOBILE" and "q"
// "QRP", and the silent pause clip "NULL" for anything else (the line ends). The one
// place this rule is written: the reader, the interfering station, a replay and the
// SNR's reference voice all take their clip names from here.
#include "base/practice_settings.h"
#include "base/random_source.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

// How a station says its characters: in a word set, with the set's own digits or the
// figure code words ("2" then the digit), in a speaker's voice ("" for each set's own).
struct Speech {
    WordSet words = WordSet::Exam;
    bool figures = false;
    std::string speaker;
};

// The clip sets a voice speaks with. Mixed reading draws its letter set (0, 1 or 2)
// afresh for every character: reseeded from the clock, then one draw.
struct ClipSets {
    int letterSet = 3;
    int digitSet = 1;
};
ClipSets clipSetsFor(const Speech& voice, RandomSource& random);

// The clip that speaks one character ("" and line ends: "NULL").
std::string clipNameOf(std::string_view character, ClipSets sets);
// Both in one, in the voice's speaker: the clip a station says `character` with. The
// pause is every speaker's.
std::string clipNameFor(std::string_view character, const Speech& voice, RandomSource& random);

// Every spoken clip's name (each set's own voice): the letter sets, the digit sets
// (plain, examination, figure code words), the suffix words.
const std::vector<std::string>& spokenClipNames();

// The clips a callsign in `voice` is spoken with, each with its share of a callsign's
// characters: letters about 78 %, digits the rest; mixed reading shares its letters
// among its three sets.
std::vector<std::pair<std::string, double>> voiceClipShares(const Speech& voice);

}  // namespace tessaly
