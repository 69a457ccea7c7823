#include "support/form_fixture.h"
#include "base/resource_store.h"
#include "base/lines.h"

#include <map>
#include <regex>
#include <set>

namespace tessaly::testing {
namespace {

class GeneratorTest : public FormTest {
protected:
    std::vector<std::string> generate(const std::string& groups) {
        form.Text2.setText(groups);
        form.Text1.setText("");
        form.ListView1.clear();
        form.sources.Command1_Click();
        std::vector<std::string> lines;
        for (int i = 1; i <= form.groupCount; ++i) lines.push_back(readline(form.Text1.text(), i));
        return lines;
    }
};

TEST_F(GeneratorTest, ExamSetMakesPlainRandomCallsignsAndNumbersTheRows) {
    const auto lines = generate("20");
    ASSERT_EQ(lines.size(), 20u);
    const LineIndex prefixes(form.prefixText);
    std::set<std::string> known;
    for (int i = 1; i <= prefixes.count(); ++i) known.insert(std::string(prefixes.line(i)));
    const std::regex shape("([0-9A-Z]{2,3})[0-9][A-Z]{2,3}");
    std::size_t length = 0;
    for (const auto& l : lines) {
        EXPECT_GE(l.size(), 5u);
        EXPECT_LE(l.size(), 7u);
        EXPECT_TRUE(std::regex_match(l, shape)) << l;
        length += l.size() + 2;
    }
    EXPECT_EQ(form.textLength, static_cast<int>(length));
    EXPECT_EQ(form.Text1.text().substr(form.Text1.text().size() - 2), "\r\n");
    ASSERT_EQ(form.ListView1.rows.size(), 20u);
    EXPECT_EQ(form.ListView1.rows[0][0], "1");
    EXPECT_EQ(form.ListView1.rows[19][0], "20");
}

TEST_F(GeneratorTest, OtherWordSetsAddSuffixesAtTheirRates) {
    form.Option7[0].select();
    std::map<std::string, int> suffixes;
    int total = 0;
    for (int round = 0; round < 10; ++round)
        for (const auto& l : generate("500")) {
            ++total;
            const auto slash = l.find('/');
            if (slash == std::string::npos) continue;
            std::string s = l.substr(slash);
            if (s.size() == 2 && std::isdigit(static_cast<unsigned char>(s[1]))) s = "/digit";
            ++suffixes[s];
        }
    ASSERT_EQ(total, 5000);
    for (const char* s : {"/m", "/mm", "/P", "/digit"}) EXPECT_NEAR(suffixes[s], 5000 / 19, 70) << s;
    EXPECT_EQ(suffixes.size(), 4u);
}

TEST_F(GeneratorTest, PrefixesAreDrawnByLineSoDoubledSeriesComeUpTwiceAsOften) {
    std::map<std::string, int> counts;
    for (int round = 0; round < 40; ++round)
        for (const auto& l : generate("500")) {
            const auto digit = l.find_first_of("0123456789", 1);
            ++counts[l.substr(0, digit)];
        }
    // 20000 draws over 1024 lines: about 19.5 a line, 39 for HL, HS and LW.
    const double hl = counts["HL"] + counts["HS"] + counts["LW"];
    const double others = counts["HA"] + counts["HB"] + counts["LA"];
    EXPECT_GT(hl / others, 1.5);
    EXPECT_LT(hl / others, 2.7);
}

TEST_F(GeneratorTest, LibraryDrawsDistinctRealCallsigns) {
    form.Option11.select();
    const auto lines = generate("500");
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 500u);
    const std::string text = resourceText("CUSTOM", "327");
    const LineIndex library(text);
    std::set<std::string> all;
    for (int i = 1; i <= library.count(); ++i) all.insert(std::string(library.line(i)));
    for (const auto& l : lines) EXPECT_TRUE(all.count(l)) << l;
    EXPECT_EQ(form.groupCount, 500);
}

TEST_F(GeneratorTest, NoGroupsGivesAnEmptySet) {
    for (const char* groups : {"0", "-3", "0.4"}) {
        EXPECT_TRUE(generate(groups).empty()) << groups;
        EXPECT_EQ(form.Text1.text(), "");
        EXPECT_EQ(form.textLength, 0);
        EXPECT_TRUE(form.ListView1.rows.empty());
    }
    EXPECT_EQ(generate("2.5").size(), 2u) << "a half goes to the even neighbour";
    EXPECT_EQ(generate("3.5").size(), 4u);
}

}  // namespace
}  // namespace tessaly::testing
