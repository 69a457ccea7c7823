#include "learning/unit_trends.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

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
    struct Expect {
        const char* unit;
        int recentRead, recentMissed, earlierRead, earlierMissed;
    };
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
