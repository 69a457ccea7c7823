#include "practice/expected_copy.h"
#include "practice/clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(Answers, ExpectedCopySpellsOutTheCodes) {
    struct Case { const char* line; const char* expected; } cases[] = {
        {"AB1CDE", "AB1CDE"},       {"AB1CDE/m", "AB1CDE/M"},   {"AB1CDE/mm", "AB1CDE/MM"},
        {"AB1CDE/q", "AB1CDE/QRP"}, {"AB1CDE/3", "AB1CDE/3"},   {"ab1/qxyz", "AB1/QRP"},
        {"AB1/Q", "AB1/Q"},         {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpectedCopy(c.line), c.expected) << c.line;
}

TEST(Clock, FormatsElapsedSeconds) {
    struct Case {
        const char* seconds;
        const char* shown;
    } cases[] = {{"0", "00:00:00"},      {"5", "00:00:05"},      {"59", "00:00:59"},    {"60", "00:01:00"},
                 {"3600", "01:00:00"},   {"3725", "01:02:05"},   {"86399", "23:59:59"}, {"86400", "24:00:00"},
                 {"360000", "100:00:00"}};
    for (const Case& c : cases) EXPECT_EQ(formattime(c.seconds), c.shown) << c.seconds;
}

TEST(Clock, NumbersTheGroupCountBoxAccepts) {
    for (const char* yes : {"20", " 20 ", "-3", "+7", "2.5", ".5", "1e2", "500.4", "99999999999"})
        EXPECT_TRUE(parseNumber(yes)) << yes;
    for (const char* no : {"", " ", "abc", "1a", "0x10", "1,000", "--1", "1e", "五"})
        EXPECT_FALSE(parseNumber(no)) << no;
    EXPECT_EQ(roundHalfEven(500.5), 500);
    EXPECT_EQ(roundHalfEven(501.5), 502);
}

}  // namespace
}  // namespace tessaly
