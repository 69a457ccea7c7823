// Practice set generation: random callsigns built from the prefix list, or real
// callsigns drawn from the library, one per line of the practice text.
#include "practice/clock.h"
#include "practice/main_form.h"
#include "resources/resource_store.h"
#include "sources/lines.h"

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

void MainForm::Command1_Click() {
    const int n = groupsWanted(Text2.text());
    std::string text = Text1.text();
    if (Option10.value) {
        const LineIndex prefixes(prefixText);
        const bool examSet = Option7[4].value;
        for (int i = 0; i < n; ++i) {
            random_.reseedFromClock();
            std::string callsign(prefixes.line(random_.draw(1024, 1)));
            random_.reseedFromClock();
            callsign += static_cast<char>(48 + random_.draw(10, 0));
            random_.reseedFromClock();
            const int letters = 2 + random_.draw(2, 0);
            for (int k = 0; k < letters; ++k) {
                random_.reseedFromClock();
                callsign += static_cast<char>(65 + random_.draw(26, 0));
            }
            random_.reseedFromClock();
            const int suffixCode = random_.draw(19, 0);
            std::string suffix;
            switch (suffixCode) {
                case 0: suffix = "/m"; break;    // spoken "PORTABLE", "MOBILE"
                case 4: suffix = "/mm"; break;   // maritime mobile
                case 14: suffix = "/P"; break;   // "PORTABLE", then the letter P
                case 17: suffix = "/" + std::to_string(random_.draw(10, 0)); break;
                default: break;
            }
            // The exam word set reads callsigns without suffixes; the code is drawn all the same.
            if (!examSet) callsign += suffix;
            text += callsign + "\r\n";
        }
    } else if (Option11.value) {
        callsignText = resourceText("CUSTOM", "327");
        const LineIndex library(callsignText);
        for (const std::int32_t k : GetRndNotRepeat(1, library.count(), n, random_))
            text += std::string(library.line(k)) + "\r\n";
    }
    Text1.setText(std::move(text));
    textLength = static_cast<std::int32_t>(Text1.text().size());
    groupCount = countCrLf(Text1.text());  // the edit box's line count minus one
    for (rowNumber = 1; rowNumber <= groupCount; ++rowNumber)
        ListView1.rows.push_back({std::to_string(rowNumber), "", "", ""});
}

}  // namespace tessaly
