// Practice set generation: random callsigns built from the prefix list, or real
// callsigns drawn from the library, one per line of the practice text.
#include "sources/callsign_sources.h"

#include "base/lines.h"
#include "base/resource_store.h"
#include "practice/clock.h"
#include "sources/random_picks.h"

namespace tessaly {
namespace {

int groupsWanted(const std::string& text) {
    const auto number = parseNumber(text);
    if (!number) return 0;
    const double whole = roundHalfEven(*number);
    return whole < 1 ? 0 : whole > 32767 ? 32767 : static_cast<int>(whole);
}

int countCrLf(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

}  // namespace

void CallsignSources::Command1_Click() {
    const int n = groupsWanted(f.Text2.text());
    std::string text = f.Text1.text();
    RandomSource& random = f.random();
    if (f.Option10.value) {
        const LineIndex prefixes(f.prefixText);
        const bool examSet = f.Option7[4].value;
        for (int i = 0; i < n; ++i) {
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
        f.ListView1.rows.push_back({std::to_string(f.rowNumber), "", "", ""});
}

}  // namespace tessaly
