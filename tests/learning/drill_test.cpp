#include "learning/drill.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

TEST(Drill, LinesThatReadAWeakUnit) {
    struct Case {
        const char* line;
        std::vector<std::string> weak;
        bool drills;
    } cases[] = {
        {"BA4XY", {"Y"}, true},
        {"BA4XY", {"Z", "7"}, false},
        {"JA1ABC/m", {"MOBILE"}, true},
        {"JA1ABC/m", {"M"}, false},      // the letter M is not the word MOBILE
        {"JA1MBC", {"MOBILE"}, false},
        {"G4ABC/q", {"QRP"}, true},
        {"G4ABC/q", {"Q"}, false},
        {"K1ABC/P", {"/"}, true},
        {"BA4XY", {}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(callsignDrills(c.line, c.weak), c.drills) << c.line;
}

}  // namespace
}  // namespace tessaly
