#include "sound/clip_catalogue.h"

#include "base/speakers.h"

#include <cstdio>

namespace tessaly {
namespace {

// The figure code words' digit set: NADAZERO .. NOVENINE.
constexpr int kFigureDigits = 2;
// Letters make about 78 % of a callsign's characters, digits the rest.
constexpr double kLetterShare = 0.78;

std::string letterClip(int letterSet, int letter) {
    char name[8];
    std::snprintf(name, sizeof name, "%d%02d", letterSet, letter);
    return name;
}

}  // namespace

ClipSets clipSetsFor(const Speech& voice, RandomSource& random) {
    ClipSets sets;
    switch (voice.words) {
        case WordSet::Standard: sets = {0, 0}; break;
        case WordSet::Places: sets = {1, 0}; break;
        case WordSet::Other: sets = {2, 0}; break;
        case WordSet::Mixed:
            random.reseedFromClock();
            sets = {random.draw(3, 0), 0};
            break;
        case WordSet::Exam: sets = {3, 1}; break;
    }
    if (voice.figures) sets.digitSet = kFigureDigits;
    return sets;
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

std::string clipNameFor(std::string_view character, const Speech& voice, RandomSource& random) {
    const std::string clip = clipNameOf(character, clipSetsFor(voice, random));
    return clip == "NULL" ? clip : speakerClipName(voice.speaker, clip);
}

const std::vector<std::string>& spokenClipNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int set = 0; set < 4; ++set)
            for (int letter = 1; letter <= 26; ++letter) n.push_back(letterClip(set, letter));
        for (int set = 0; set <= kFigureDigits; ++set)
            for (int digit = 0; digit <= 9; ++digit) n.push_back(std::to_string(set) + std::to_string(digit));
        for (const char* word : {"PORTABLE", "MOBILE", "QRP"}) n.push_back(word);
        return n;
    }();
    return names;
}

std::vector<std::pair<std::string, double>> voiceClipShares(const Speech& voice) {
    const WordSet words = voice.words;
    std::vector<std::pair<std::string, double>> clips;
    const std::vector<int> letterSets =
        words == WordSet::Mixed ? std::vector<int>{0, 1, 2}
                                : std::vector<int>{words == WordSet::Exam ? 3 : static_cast<int>(words)};
    const int digitSet = voice.figures ? kFigureDigits : words == WordSet::Exam ? 1 : 0;
    const double setShare = kLetterShare / 26.0 / static_cast<double>(letterSets.size());
    for (const int set : letterSets)
        for (int letter = 1; letter <= 26; ++letter)
            clips.emplace_back(speakerClipName(voice.speaker, letterClip(set, letter)), setShare);
    for (int digit = 0; digit <= 9; ++digit)
        clips.emplace_back(speakerClipName(voice.speaker, std::to_string(digitSet) + std::to_string(digit)),
                           (1.0 - kLetterShare) / 10.0);
    return clips;
}

}  // namespace tessaly
