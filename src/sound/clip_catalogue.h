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

// The clip sets a word set speaks with. Mixed reading draws its letter set (0, 1 or
// 2) afresh for every character: reseeded from the clock, then one draw.
struct ClipSets {
    int letterSet = 3;
    int digitSet = 1;
};
ClipSets clipSetsFor(WordSet words, RandomSource& random);

// The clip that speaks one character ("" and line ends: "NULL").
std::string clipNameOf(std::string_view character, ClipSets sets);
// Both in one: the clip a reader in `words` says `character` with.
std::string clipNameFor(std::string_view character, WordSet words, RandomSource& random);

// Every spoken clip's name: the letter sets, the digit sets, the suffix words.
const std::vector<std::string>& spokenClipNames();

// The clips a callsign in `words` is spoken with, each with its share of a
// callsign's characters: letters about 78 %, digits the rest; mixed reading shares
// its letters among its three sets.
std::vector<std::pair<std::string, double>> wordSetClipShares(WordSet words);

}  // namespace tessaly
