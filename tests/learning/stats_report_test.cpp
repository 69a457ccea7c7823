#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

PracticeRecord practice(const char* date, const char* time, const char* words, std::vector<PracticeRow> rows) {
    return {date, time, words, "5", "off", {}, std::move(rows)};
}

// Read back from results files, as `tessaly stats` has them: the units come from
// the `read` column, without the lower-case codes.
std::vector<PracticeRecord> throughFiles(const std::vector<PracticeRecord>& records) {
    std::string text;
    for (const PracticeRecord& r : records) text += resultsCsv(r);
    std::vector<PracticeRecord> back;
    std::string error;
    EXPECT_TRUE(parseResultsCsv(text, back, error)) << error;
    return back;
}

TEST(StatsReport, PracticesOldestFirstAndUnitsWorstFirst) {
    const auto report = statsReport(throughFiles({
        practice("2024-05-02", "08:00:00", "exam",
                 {{1, "G4ABC/M", "G4ABC/QRP", false, "G4ABC/q"}, {2, "G4ABC/QRP", "G4ABC/QRP", true, "G4ABC/q"}}),
        practice("2024-05-01", "23:59:59", "standard",
                 {{1, "JA1ABC", "JA1ABC/M", false, "JA1ABC/m"}, {2, "W1AW/MM", "W1AW/MM", true, "W1AW/mm"},
                  {3, "BA4XY", "BA4XY", true, "BA4XY"}, {4, "DL2XY/7", "DL2XY/7", true, "DL2XY/7"}}),
        practice("2024-05-02", "08:00:00", "places", {{1, "K1ABC/PP", "K1ABC/P", false, "K1ABC/P"}}),
    }));

    struct Practice {
        const char* date;
        const char* words;  // tells apart the two at the same time
        int copied, rows;
    } practices[] = {{"2024-05-01", "standard", 3, 4}, {"2024-05-02", "exam", 1, 2}, {"2024-05-02", "places", 0, 1}};
    ASSERT_EQ(report.practices.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(report.practices[i].date, practices[i].date) << i;
        EXPECT_EQ(report.practices[i].words, practices[i].words) << i;
        EXPECT_EQ(report.practices[i].copied, practices[i].copied) << i;
        EXPECT_EQ(report.practices[i].rows, practices[i].rows) << i;
        EXPECT_DOUBLE_EQ(report.practices[i].copyRate, static_cast<double>(practices[i].copied) / practices[i].rows);
    }
    EXPECT_EQ(report.rows, 7);
    EXPECT_EQ(report.copied, 4);

    // QRP 1 of 2 (as "M"), MOBILE 1 of 3 (left out), "/" 1 of 6 (left out).
    ASSERT_GE(report.units.size(), 3u);
    EXPECT_EQ(report.units[0].unit, "QRP");
    EXPECT_EQ(report.units[0].read, 2);
    EXPECT_EQ(report.units[0].mostWrittenAs, "M");
    EXPECT_EQ(report.units[0].mostWrittenAsCount, 1);
    EXPECT_DOUBLE_EQ(report.units[0].missedShare, 0.5);
    EXPECT_EQ(report.units[1].unit, "MOBILE");
    EXPECT_EQ(report.units[1].omitted, 1);
    EXPECT_EQ(report.units[2].unit, "/");
    EXPECT_EQ(report.units[2].read, 6);
    EXPECT_EQ(report.weakest, (std::vector<std::string>{"QRP", "MOBILE", "/"}));
    EXPECT_EQ(report.inserted, (std::map<std::string, int>{{"P", 1}}));
}

StatsReport handMade() {
    StatsReport r;
    r.practices = {{"2024-05-01", "09:05:00", "exam", "5", "off", {}, 200, 199, 0.995},
                   {"2024-05-03", "21:30:00", "standard", "random", "S3", {"qrn", "vary-tone"}, 200, 1, 0.005}};
    r.rows = 400;
    r.copied = 200;
    r.units = {{"Y", 10, 5, 1, 0.5, "V", 3}, {"MOBILE", 3, 1, 1, 1.0 / 3, "", 0}, {"A", 40, 0, 0, 0.0, "", 0}};
    r.weakest = {"Y", "MOBILE"};
    r.inserted = {{"/", 1}, {" ", 2}};
    return r;
}

TEST(StatsText, SummaryFirstThenAlignedTables) {
    EXPECT_EQ(statsText(handMade()),
              "2 practices, 2024-05-01 to 2024-05-03: 200 of 400 callsigns copied (50%)\n"
              "Latest, 2024-05-03 21:30:00: 1 of 200 (1%)\n"
              "Practise next: Y (50% missed), MOBILE (33% missed)\n"
              "Typed but not read: \" \" 2 times, \"/\" 1 time\n"
              "\n"
              "Practices, oldest first\n"
              "Date        Time      Words     Speed   Noise  Copied   Of  Rate  Conditions\n"
              "2024-05-01  09:05:00  exam      5       off       199  200   99%  -\n"
              "2024-05-03  21:30:00  standard  random  S3          1  200    1%  qrn vary-tone\n"
              "\n"
              "Characters, most missed first\n"
              "Unit    Read  Missed  Share  Left out  Most often written as\n"
              "Y         10       5    50%         1  \"V\" 3 times\n"
              "MOBILE     3       1    33%         1\n"
              "A         40       0     0%         0\n");
}

TEST(StatsText, SaysWhenThereIsNothingToPractiseYet) {
    EXPECT_EQ(statsText({}), "No practices yet.\n");
    StatsReport r = handMade();
    r.weakest.clear();
    EXPECT_NE(statsText(r).find("Practise next: too few readings yet to tell\n"), std::string::npos);
    r.units = {{"A", 1, 0, 0, 0.0, "", 0}};
    EXPECT_NE(statsText(r).find("No character missed so far\n"), std::string::npos);
}

}  // namespace
}  // namespace tessaly
