// Practice set generation: random callsigns built from the prefix list, or real
// callsigns drawn from the library, one per line of the practice text.
#include "sources/callsign_sources.h"

#include "base/lines.h"
#include "base/resource_store.h"
#include "learning/drill.h"
#include "practice/settings_of_form.h"
#include "sources/random_picks.h"

namespace tessaly {
namespace {

// Draws of one drilled callsign before giving up on it.
constexpr int kDrillDraws = 200;

int countCrLf(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

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

void CallsignSources::Command1_Click() {
    const int n = f.thresholdRunning ? f.thresholdTrials : groupsWanted(f.Text2.text());
    std::string text = f.Text1.text();
    RandomSource& random = f.random();
    if (f.Option10.value) {
        const LineIndex prefixes(f.prefixText);
        const bool examSet = f.Option7[4].value;
        for (int i = 0; i < n; ++i) {
            std::string callsign = randomCallsign(random, prefixes, examSet);
            // A drill: every other callsign, the first included, is drawn again until it holds a
            // weak character, so at least half of them do; a character the word set never says
            // (a suffix in the exam set) gives up after a bounded number of draws.
            if (!f.drillUnits.empty() && i % 2 == 0)
                for (int draw = 1; draw < kDrillDraws && !callsignDrills(callsign, f.drillUnits); ++draw)
                    callsign = randomCallsign(random, prefixes, examSet);
            text += callsign + "\r\n";
        }
    } else if (f.Option11.value) {
        f.callsignText = resourceText("CUSTOM", "327");
        const LineIndex library(f.callsignText);
        for (const std::int32_t k : GetRndNotRepeat(1, library.count(), n, random))
            text += std::string(library.line(k)) + "\r\n";
    }
    f.Text1.setText(std::move(text));
    f.textLength = static_cast<std::int32_t>(f.Text1.text().size());
    f.groupCount = countCrLf(f.Text1.text());  // the edit box's line count minus one
    for (f.rowNumber = 1; f.rowNumber <= f.groupCount; ++f.rowNumber)
        f.ListView1.addRow({std::to_string(f.rowNumber), "", "", ""});
}

}  // namespace tessaly
