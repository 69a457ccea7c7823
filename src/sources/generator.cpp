// Practice set generation: random callsigns built from the prefix list, or real
// callsigns drawn from the library, one per line of the practice text.
#include "sources/callsign_sources.h"

#include "base/lines.h"
#include "base/resource_store.h"
#include "learning/drill.h"
#include "sources/random_picks.h"

namespace tessaly {
namespace {

// Draws of one drilled callsign before giving up on it.
constexpr int kDrillDraws = 200;

// One random callsign: a prefix series, a digit, two or three letters, and a suffix
// drawn one time in nineteen each (left off in the exam set, drawn all the same).
std::string randomCallsign(RandomSource& random, const LineIndex& prefixes, bool examSet) {
    random.reseedFromClock();
    std::string callsign(prefixes.line(random.draw(1024, 1)));
    random.reseedFromClock();
    callsign += static_cast<char>(48 + random.draw(10, 0));
    random.reseedFromClock();
    const int letters = 2 + random.draw(2, 0);
    for (int k = 0; k < letters; ++k) {
        random.reseedFromClock();
        callsign += static_cast<char>(65 + random.draw(26, 0));
    }
    random.reseedFromClock();
    const int suffixCode = random.draw(19, 0);
    std::string suffix;
    switch (suffixCode) {
        case 0: suffix = "/m"; break;    // spoken "PORTABLE", "MOBILE"
        case 4: suffix = "/mm"; break;   // maritime mobile
        case 14: suffix = "/P"; break;   // "PORTABLE", then the letter P
        case 17: suffix = "/" + std::to_string(random.draw(10, 0)); break;
        default: break;
    }
    // The exam word set reads callsigns without suffixes; the code is drawn all the same.
    if (!examSet) callsign += suffix;
    return callsign;
}

}  // namespace

void CallsignSources::loadPrefixes() { prefixText_ = resourceText("CUSTOM", "227"); }

std::vector<std::string> CallsignSources::randomCallsigns(int count, bool examSet,
                                                          const std::vector<std::string>& drillUnits) {
    std::vector<std::string> callsigns;
    const LineIndex prefixes(prefixText_);
    for (int i = 0; i < count; ++i) {
        std::string callsign = randomCallsign(random_, prefixes, examSet);
        // A drill: every other callsign, the first included, is drawn again until it holds a
        // weak character, so at least half of them do; a character the word set never says
        // (a suffix in the exam set) gives up after a bounded number of draws.
        if (!drillUnits.empty() && i % 2 == 0)
            for (int draw = 1; draw < kDrillDraws && !callsignDrills(callsign, drillUnits); ++draw)
                callsign = randomCallsign(random_, prefixes, examSet);
        callsigns.push_back(std::move(callsign));
    }
    return callsigns;
}

std::vector<std::string> CallsignSources::libraryCallsigns(int count) {
    callsignText_ = resourceText("CUSTOM", "327");
    const LineIndex library(callsignText_);
    std::vector<std::string> callsigns;
    for (const std::int32_t k : GetRndNotRepeat(1, library.count(), count, random_)) callsigns.emplace_back(library.line(k));
    return callsigns;
}

}  // namespace tessaly
