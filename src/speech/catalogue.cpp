// Which recorded clip speaks a character of the practice text.
#include "practice/main_form.h"

#include <cstdio>

namespace tessaly {

std::string MainForm::ResToStr(const std::string& StrRes) {
    // The word set follows the first selected member of the word-set group.
    if (Option7[0].value) {
        letterSet = 0;
        digitSet = 0;
    } else if (Option7[1].value) {
        letterSet = 1;
        digitSet = 0;
    } else if (Option7[2].value) {
        letterSet = 2;
        digitSet = 0;
    } else if (Option7[3].value) {
        random_.reseedFromClock();
        letterSet = random_.draw(3, 0);  // mixed: each character from set 0, 1 or 2
        digitSet = 0;
    } else if (Option7[4].value) {
        letterSet = 3;
        digitSet = 1;
    }
    if (StrRes.size() == 1) {
        const char c = StrRes[0];
        if (c >= '0' && c <= '9') return std::to_string(digitSet) + c;
        if (c >= 'A' && c <= 'Z') {
            char name[8];
            std::snprintf(name, sizeof name, "%d%02d", letterSet, c - 'A' + 1);
            return name;
        }
        if (c == 'm') return "MOBILE";
        if (c == '/') return "PORTABLE";
        if (c == 'q') return "QRP";
    }
    return "NULL";
}

}  // namespace tessaly
