#include "base/lines.h"
#include "sources/random_picks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tessaly {
namespace {

TEST(Lines, ReadlineAndLinecount) {
    struct Case { const char* text; int line; const char* expected; int count; } cases[] = {
        {"AB\r\nCD\r\n", 1, "AB", 3},  {"AB\r\nCD\r\n", 2, "CD", 3}, {"AB\r\nCD\r\n", 3, "", 3},
        {"AB\r\nCD\r\n", 4, "", 3},    {"AB\r\nCD\r\n", 0, "", 3},   {"AB\r\nCD", 2, "CD", 2},
        {"", 1, "", 0},                {"A\nB", 1, "A\nB", 1},       {"A\rB\r\n", 1, "A\rB", 2},
        {"AB", -5, "", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readline(c.text, c.line), c.expected) << c.text << " line " << c.line;
        EXPECT_EQ(linecount(c.text), c.count) << c.text;
    }
}

TEST(Lines, GetRndNotRepeatDrawsDistinctValuesInRange) {
    RandomSource random(11);
    auto perm = GetRndNotRepeat(1, 8, 8, random);
    std::sort(perm.begin(), perm.end());
    EXPECT_EQ(perm, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(GetRndNotRepeat(5, 5, 1, random), std::vector<std::int32_t>{5});
    EXPECT_TRUE(GetRndNotRepeat(1, 3, 4, random).empty());
    EXPECT_TRUE(GetRndNotRepeat(1, 3, 0, random).empty());
    EXPECT_TRUE(GetRndNotRepeat(1, 3, -2, random).empty());

    const auto draw = GetRndNotRepeat(1, 42890, 500, random);
    ASSERT_EQ(draw.size(), 500u);
    EXPECT_EQ(std::set<std::int32_t>(draw.begin(), draw.end()).size(), 500u);
    EXPECT_TRUE(std::all_of(draw.begin(), draw.end(), [](int v) { return v >= 1 && v <= 42890; }));
    // Negative ranges and the full 32-bit span do not overflow.
    const auto negative = GetRndNotRepeat(-3, -1, 3, random);
    EXPECT_EQ(std::set<std::int32_t>(negative.begin(), negative.end()), (std::set<std::int32_t>{-3, -2, -1}));
}

TEST(RandomSource, ReseedingNeverRepeatsDrawsAndAFixedSeedRepeatsTheRun) {
    RandomSource clocked;
    double previous = -1;
    int repeats = 0;
    for (int i = 0; i < 1000; ++i) {
        clocked.reseedFromClock();
        const double u = clocked.uniform();
        repeats += u == previous;
        previous = u;
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
    EXPECT_EQ(repeats, 0);

    RandomSource a(42), b(42);
    for (int i = 0; i < 100; ++i) {
        a.reseedFromClock();
        b.reseedFromClock();
        ASSERT_EQ(a.uniform(), b.uniform());
    }
}

}  // namespace
}  // namespace tessaly
