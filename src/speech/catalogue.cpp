// Which recorded clip speaks a character of the practice text.
#include "speech/speech_output.h"

#include <cstdio>

namespace tessaly {

std::string SpeechOutput::ResToStr(const std::string& StrRes) {
    // The word set follows the first selected member of the word-set group.
    if (f.Option7[0].value) {
        f.letterSet = 0;
        f.digitSet = 0;
    } else if (f.Option7[1].value) {
        f.letterSet = 1;
        f.digitSet = 0;
    } else if (f.Option7[2].value) {
        f.letterSet = 2;
        f.digitSet = 0;
    } else if (f.Option7[3].value) {
        f.random().reseedFromClock();
        f.letterSet = f.random().draw(3, 0);  // mixed: each character from set 0, 1 or 2
        f.digitSet = 0;
    } else if (f.Option7[4].value) {
        f.letterSet = 3;
        f.digitSet = 1;
    }
    if (StrRes.size() == 1) {
        const char c = StrRes[0];
        if (c >= '0' && c <= '9') return std::to_string(f.digitSet) + c;
        if (c >= 'A' && c <= 'Z') {
            char name[8];
            std::snprintf(name, sizeof name, "%d%02d", f.letterSet, c - 'A' + 1);
            return name;
        }
        if (c == 'm') return "MOBILE";
        if (c == '/') return "PORTABLE";
        if (c == 'q') return "QRP";
    }
    return "NULL";
}

}  // namespace tessaly
