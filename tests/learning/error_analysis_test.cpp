#include "learning/error_analysis.h"
#include "learning/unit_trends.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tessaly {
namespace {

TEST(ErrorAnalysis, CountsWhatEachUnitWasWrittenAsOverPractices) {
    ErrorAnalysis analysis;
    analysis.addPractice({{"BA4YX", "BA4XY"}, {"JA1ABC", "JA1ABC/m"}, {"G4ABC/M", "G4ABC/q"}});
    analysis.addPractice({{"BA4XV", "BA4XY"}, {"W1AW/M", "W1AW/mm"}, {"K1ABC/P", "K1ABC"}});
    analysis.addPractice({});
    EXPECT_EQ(analysis.practices(), 3);

    struct Row { const char* unit; int read, missed, omitted; std::map<std::string, int> writtenAs; } rows[] = {
        {"Y", 2, 2, 0, {{"V", 1}, {"X", 1}}},  // both readings of Y missed, as different letters
        {"X", 2, 1, 0, {{"Y", 1}}},
        {"MOBILE", 3, 2, 2, {}},               // omissions are misses, but were written as nothing
        {"QRP", 1, 1, 0, {{"M", 1}}},
        {"/", 3, 1, 1, {}},
        {"B", 5, 0, 0, {}},
        {"A", 7, 0, 0, {}},
    };
    for (const Row& r : rows) {
        const UnitErrors* errors = analysis.unit(r.unit);
        ASSERT_NE(errors, nullptr) << r.unit;
        EXPECT_EQ(errors->read, r.read) << r.unit;
        EXPECT_EQ(errors->missed, r.missed) << r.unit;
        EXPECT_EQ(errors->omitted, r.omitted) << r.unit;
        EXPECT_EQ(errors->writtenAs, r.writtenAs) << r.unit;
    }
    EXPECT_EQ(analysis.unit("Z"), nullptr);
    EXPECT_EQ(analysis.inserted(), (std::map<std::string, int>{{"/", 1}, {"P", 1}}));

    std::vector<std::string> order;
    for (const UnitErrors& row : analysis.rows()) order.push_back(row.unit);
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 5),
              (std::vector<std::string>{"Y", "QRP", "MOBILE", "X", "/"}));
}

TEST(ErrorAnalysis, RanksByExactShareThenMissesThenFixedOrder) {
    struct Case { UnitErrors worse, better; } cases[] = {
        {{"Q", 2, 1, 0, {}}, {"A", 3, 1, 0, {}}},            // 1/2 before 1/3, whatever the letters
        {{"Z", 6, 2, 0, {}}, {"A", 3, 1, 0, {}}},            // 2/6 and 1/3 are equal: more misses first
        {{"A", 4, 1, 0, {}}, {"B", 4, 1, 0, {}}},            // then the fixed order
        {{"Z", 4, 1, 0, {}}, {"0", 4, 1, 0, {}}},
        {{"9", 4, 1, 0, {}}, {"/", 4, 1, 0, {}}},
        {{"/", 4, 1, 0, {}}, {"MOBILE", 4, 1, 0, {}}},
        {{"MOBILE", 4, 1, 0, {}}, {"QRP", 4, 1, 0, {}}},
        {{"K", 1, 0, 0, {}}, {"L", 5, 0, 0, {}}},            // nothing missed: only the order is left
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(worseThan(c.worse, c.better)) << c.worse.unit << " vs " << c.better.unit;
        EXPECT_FALSE(worseThan(c.better, c.worse)) << c.better.unit << " vs " << c.worse.unit;
    }
}

TEST(ErrorAnalysis, MostWrittenAsBreaksTiesByToken) {
    UnitErrors y{"Y", 5, 4, 0, {{"X", 2}, {"V", 2}, {"I", 1}}};
    EXPECT_EQ(y.mostWrittenAs(), (std::pair<std::string, int>{"V", 2}));
    const UnitErrors neverSubstituted{"Y", 5, 0, 0, {}};
    EXPECT_EQ(neverSubstituted.mostWrittenAs(), (std::pair<std::string, int>{"", 0}));
}

TEST(ErrorAnalysis, WeakestNeedsEnoughHistory) {
    ErrorAnalysis analysis;
    EXPECT_TRUE(analysis.weakest().empty());
    analysis.addPractice({{"BA4XV", "BA4XY"}});
    EXPECT_TRUE(analysis.weakest().empty()) << "Y missed, but read only once";
    EXPECT_EQ(analysis.weakest(3, 1), std::vector<std::string>{"Y"});

    analysis.addPractice({{"BA4XV", "BA4XY"}, {"BE7XX", "BE7XY"}, {"DL2XY/8", "DL2XY/7"}, {"DL2XY/7", "DL2XY/7"}});
    // Y 4 of 4, 7 1 of 3, X 0 of 4: X is never weak, and at most n are chosen.
    EXPECT_EQ(analysis.weakest(), (std::vector<std::string>{"Y", "7"}));
    EXPECT_EQ(analysis.weakest(1), std::vector<std::string>{"Y"});
    EXPECT_EQ(analysis.weakest(3, 4), std::vector<std::string>{"Y"});
}

PracticeRecord on(const char* date, const char* line, const char* answer) {
    return PracticeRecord{date, "09:00:00", "exam", "5", "off", {}, {{1, answer, "", false, line}}};
}

TEST(UnitTrends, TheLastSevenDaysAgainstTheSevenBefore) {
    // Today 2024-05-14: the recent span is 05-08 .. 05-14, the earlier one 05-01 .. 05-07.
    const std::vector<PracticeRecord> record = {
        on("2024-04-30", "Q", "X"),    // before both spans: not counted
        on("2024-05-01", "VA", "BA"),  // V missed earlier, A right
        on("2024-05-07", "VA", "VA"),
        on("2024-05-08", "VK", "VX"),  // K missed recently, V right
        on("2024-05-14", "V", "V"),
        on("2024-05-15", "Z", "X"),    // after today: not counted
    };
    const auto trends = unitTrends(record, "2024-05-14");
    struct Expect { const char* unit; int recentRead, recentMissed, earlierRead, earlierMissed; };
    // Worst first by the recent span; A, read only earlier, last.
    const Expect expected[] = {{"K", 1, 1, 0, 0}, {"V", 2, 0, 2, 1}, {"A", 0, 0, 2, 0}};
    ASSERT_EQ(trends.size(), std::size(expected));
    for (std::size_t i = 0; i < trends.size(); ++i) {
        SCOPED_TRACE(expected[i].unit);
        EXPECT_EQ(trends[i].unit(), expected[i].unit);
        EXPECT_EQ(trends[i].earlier.unit, expected[i].unit);
        EXPECT_EQ(trends[i].recent.read, expected[i].recentRead);
        EXPECT_EQ(trends[i].recent.missed, expected[i].recentMissed);
        EXPECT_EQ(trends[i].earlier.read, expected[i].earlierRead);
        EXPECT_EQ(trends[i].earlier.missed, expected[i].earlierMissed);
    }
    EXPECT_TRUE(unitTrends(record, "2024-06-30").empty()) << "nothing in the last two weeks";
}

}  // namespace
}  // namespace tessaly
