// The two lists built into the executable.
#include "base/resource_store.h"
#include "base/lines.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

namespace tessaly {
namespace {

// The international prefix series, rebuilt from their rules.
std::multiset<std::string> prefixSeriesByRule() {
    std::multiset<std::string> series;
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string firsts = "23456789ABCDEFGHIJKLMNOPRSTUVWXYZ";  // no Q
    for (char f : firsts)
        for (char s : letters) {
            const std::string p{f, s};
            if (p == "EF" || p == "EG") continue;
            if (p == "3D" || p == "SS" || p == "ST") {
                for (char t : letters) series.insert(p + t);
                continue;
            }
            series.insert(p);
        }
    const std::map<char, std::string> digitSeries = {{'A', "23456789"}, {'C', "23456789"}, {'D', "23456789"},
                                                     {'E', "2345"},     {'H', "2346789"},  {'J', "2345678"},
                                                     {'L', "23456789"}, {'P', "23456789"}, {'S', "2356789"},
                                                     {'T', "23456789"}, {'V', "2345678"},  {'Y', "23456789"},
                                                     {'Z', "23"}};
    for (const auto& [letter, digits] : digitSeries)
        for (char d : digits) series.insert(std::string{letter, d});
    for (const char* twice : {"HL", "HS", "LW"}) series.insert(twice);
    return series;
}

TEST(Lists, PrefixListFollowsTheRules) {
    const std::string text = resourceText("custom", "227");
    ASSERT_EQ(text.size(), 4172u);
    const LineIndex lines(text);
    ASSERT_EQ(lines.count(), 1024);
    EXPECT_EQ(lines.line(1), "2A");
    EXPECT_EQ(lines.line(1024), "ZZ");
    EXPECT_EQ(readline(text, 1025), "");
    std::multiset<std::string> listed;
    std::string previous;
    for (int i = 1; i <= lines.count(); ++i) {
        const std::string entry(lines.line(i));
        EXPECT_LE(previous, entry) << "not in character order at line " << i;
        previous = entry;
        listed.insert(entry);
    }
    EXPECT_EQ(listed, prefixSeriesByRule());
    EXPECT_EQ(text.substr(text.size() - 2), "ZZ") << "no CR LF after the last entry";
}

TEST(Lists, CallsignLibraryIsSortedUniqueRealCallsigns) {
    const std::string text = resourceText("CUSTOM", "327");
    const LineIndex lines(text);
    ASSERT_GT(lines.count(), 30000);
    const std::regex callsign("[A-Z0-9/]{3,11}");
    std::string previous;
    for (int i = 1; i <= lines.count(); ++i) {
        const std::string entry(lines.line(i));
        ASSERT_TRUE(std::regex_match(entry, callsign)) << "line " << i << ": " << entry;
        ASSERT_LT(previous, entry) << "line " << i;
        previous = entry;
    }
    EXPECT_NE(text.back(), '\n');
}

TEST(Lists, ResourceNamesMatchWithoutRegardToCase) {
    EXPECT_TRUE(findResource("CUSTOM", "227"));
    EXPECT_TRUE(findResource("Custom", "327"));
    EXPECT_FALSE(findResource("CUSTOM", "228"));
    EXPECT_FALSE(findResource("WAVE", "227"));
}

}  // namespace
}  // namespace tessaly
