#include "base/lines.h"
#include "base/resource_store.h"
#include "practice/clock.h"
#include "sources/callsign_sources.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

namespace tessaly {
namespace {

class GeneratorTest : public ::testing::Test {
protected:
    GeneratorTest() { sources.loadPrefixes(); }
    RandomSource random{1};
    CallsignSources sources{random};
};

TEST_F(GeneratorTest, ExamSetMakesPlainRandomCallsigns) {
    const auto lines = sources.randomCallsigns(20, /*examSet=*/true, {});
    ASSERT_EQ(lines.size(), 20u);
    const std::string prefixText = resourceText("CUSTOM", "227");
    const LineIndex prefixes(prefixText);
    std::set<std::string> known;
    for (int i = 1; i <= prefixes.count(); ++i) known.insert(std::string(prefixes.line(i)));
    const std::regex shape("([0-9A-Z]{2,3})[0-9][A-Z]{2,3}");
    for (const auto& l : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(l, m, shape)) << l;
        EXPECT_TRUE(known.count(m[1])) << l;
    }
}

TEST_F(GeneratorTest, OtherWordSetsAddSuffixesAtTheirRates) {
    std::map<std::string, int> suffixes;
    const auto lines = sources.randomCallsigns(5000, false, {});
    for (const auto& l : lines) {
        const auto slash = l.find('/');
        if (slash == std::string::npos) continue;
        std::string s = l.substr(slash);
        if (s.size() == 2 && std::isdigit(static_cast<unsigned char>(s[1]))) s = "/digit";
        ++suffixes[s];
    }
    for (const char* s : {"/m", "/mm", "/P", "/digit"}) EXPECT_NEAR(suffixes[s], 5000 / 19, 70) << s;
    EXPECT_EQ(suffixes.size(), 4u);
}

TEST_F(GeneratorTest, PrefixesAreDrawnByLineSoDoubledSeriesComeUpTwiceAsOften) {
    std::map<std::string, int> counts;
    for (const auto& l : sources.randomCallsigns(20'000, true, {})) ++counts[l.substr(0, l.find_first_of("0123456789", 1))];
    // 20000 draws over 1024 lines: about 19.5 a line, 39 for HL, HS and LW.
    const double hl = counts["HL"] + counts["HS"] + counts["LW"];
    const double others = counts["HA"] + counts["HB"] + counts["LA"];
    EXPECT_GT(hl / others, 1.5);
    EXPECT_LT(hl / others, 2.7);
}

TEST_F(GeneratorTest, LibraryDrawsDistinctRealCallsigns) {
    const auto lines = sources.libraryCallsigns(500);
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 500u);
    const std::string text = resourceText("CUSTOM", "327");
    const LineIndex library(text);
    std::set<std::string> all;
    for (int i = 1; i <= library.count(); ++i) all.insert(std::string(library.line(i)));
    for (const auto& l : lines) EXPECT_TRUE(all.count(l)) << l;
}

TEST_F(GeneratorTest, TheGroupCountAsTheGeneratorReadsIt) {
    EXPECT_TRUE(sources.randomCallsigns(0, true, {}).empty());
    for (const char* none : {"0", "-3", "0.4", "x"}) EXPECT_EQ(groupsWanted(none), 0) << none;
    EXPECT_EQ(groupsWanted("2.5"), 2) << "a half goes to the even neighbour";
    EXPECT_EQ(groupsWanted("3.5"), 4);
    EXPECT_EQ(groupsWanted("1e9"), 32767);
}

}  // namespace
}  // namespace tessaly
