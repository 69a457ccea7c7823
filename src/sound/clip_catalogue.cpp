#include "sound/clip_catalogue.h"

#include <cstdio>

namespace tessaly {
namespace {

// Letters make about 78 % of a callsign's characters, digits the rest.
constexpr double kLetterShare = 0.78;

std::string letterClip(int letterSet, int letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%d%02d", letterSet, letter);
    return name;
}

}  // namespace

ClipSets clipSetsFor(WordSet words, RandomSource& random) {
    switch (words) {
        case WordSet::Standard: return {0, 0};
        case WordSet::Places: return {1, 0};
        case WordSet::Other: return {2, 0};
        case WordSet::Mixed:
            random.reseedFromClock();
            return {random.draw(3, 0), 0};
        case WordSet::Exam: return {3, 1};
    }
    return {};
}

std::string clipNameOf(std::string_view character, ClipSets sets) {
    if (character.size() == 1) {
        const char c = character[0];
        if (c >= '0' && c <= '9') return std::to_string(sets.digitSet) + c;
        if (c >= 'A' && c <= 'Z') return letterClip(sets.letterSet, c - 'A' + 1);
        if (c == 'm') return "MOBILE";
        if (c == '/') return "PORTABLE";
        if (c == 'q') return "QRP";
    }
    return "NULL";
}

std::string clipNameFor(std::string_view character, WordSet words, RandomSource& random) {
    return clipNameOf(character, clipSetsFor(words, random));
}

const std::vector<std::string>& spokenClipNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int set = 0; set < 4; ++set)
            for (int letter = 1; letter <= 26; ++letter) n.push_back(letterClip(set, letter));
        for (int set = 0; set < 2; ++set)
            for (int digit = 0; digit <= 9; ++digit) n.push_back(std::to_string(set) + std::to_string(digit));
        for (const char* word : {"PORTABLE", "MOBILE", "QRP"}) n.push_back(word);
        return n;
    }();
    return names;
}

std::vector<std::pair<std::string, double>> wordSetClipShares(WordSet words) {
    std::vector<std::pair<std::string, double>> clips;
    const std::vector<int> letterSets =
        words == WordSet::Mixed ? std::vector<int>{0, 1, 2}
                                : std::vector<int>{words == WordSet::Exam ? 3 : static_cast<int>(words)};
    const int digitSet = words == WordSet::Exam ? 1 : 0;
    const double setShare = kLetterShare / 26.0 / static_cast<double>(letterSets.size());
    for (const int set : letterSets)
        for (int letter = 1; letter <= 26; ++letter) clips.emplace_back(letterClip(set, letter), setShare);
    for (int digit = 0; digit <= 9; ++digit)
        clips.emplace_back(std::to_string(digitSet) + std::to_string(digit), (1.0 - kLetterShare) / 10.0);
    return clips;
}

}  // namespace tessaly
