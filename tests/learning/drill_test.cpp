#include "learning/drill.h"

#include "learning/learning_record.h"
#include "learning/review_boxes.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <utility>
#include <string>
#include <vector>

namespace tessaly {
namespace {

TEST(Drill, LinesThatReadAWeakUnit) {
    struct Case { const char* line; std::vector<std::string> weak; bool drills; } cases[] = {
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


PracticeRecord practice(const char* date, const char* time, std::vector<std::pair<const char*, const char*>> lines) {
    PracticeRecord p{date, time, "exam", "5", "off", {}, {}};
    int number = 0;
    for (const auto& [line, answer] : lines) p.rows.push_back({++number, answer, line, false, line});
    return p;
}

ErrorAnalysis analysisOf(const std::vector<PracticeRecord>& practices) {
    ErrorAnalysis analysis;
    for (const PracticeRecord& p : practices) {
        std::vector<AnsweredLine> answered;
        for (const PracticeRow& row : p.rows) answered.push_back({row.answer, row.line});
        analysis.addPractice(answered);
    }
    return analysis;
}

TEST(DrillAcrossDays, FavoursWhatWasMissedInEarlierRunsWhenItIsDue) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "record.csv");
    std::string error;

    // First run, 1 March: Y missed twice, QRP once; nothing else missed.
    const PracticeRecord first = practice("2024-03-01", "09:00:00",
                                          {{"BA4XY", "BA4XV"}, {"K1XY", "K1XV"}, {"G4ABC/q", "G4ABC/M"}, {"JA1ABC", "JA1ABC"}});
    EXPECT_EQ(drillFavourites({}, analysisOf({first}), "2024-03-01"), std::vector<std::string>{"Y"})
        << "no record: this run's weakest (QRP read once only), as the drill of one run";
    ASSERT_TRUE(record.append(first, error)) << error;

    // The program is started again the same day: what was missed today is drilled.
    const auto boxesOn = [&](const char* day) { return reviewBoxes(record.read().practices, day); };
    EXPECT_EQ(drillFavourites(boxesOn("2024-03-01"), ErrorAnalysis{}, "2024-03-01"), (std::vector<std::string>{"Y", "QRP"}))
        << "both in box 1, both always missed: more misses first; never-missed units are not drilled";
    // And the next day, both are due.
    EXPECT_EQ(drillFavourites(boxesOn("2024-03-02"), ErrorAnalysis{}, "2024-03-02"), (std::vector<std::string>{"Y", "QRP"}));

    // Second run, 2 March: Y copied twice (box 2, due 4 March), "/" missed twice.
    const PracticeRecord second = practice("2024-03-02", "09:00:00", {{"BA4XY", "BA4XY"}, {"K1XY", "K1XY"}, {"W1AW/P", "W1AWP"}, {"K1/P", "K1P"}});
    const ErrorAnalysis secondRun = analysisOf({second});
    EXPECT_EQ(drillFavourites(boxesOn("2024-03-02"), secondRun, "2024-03-02"), (std::vector<std::string>{"Y", "/", "QRP"}))
        << "before it is recorded: this run's misses join the due units, in box 1 (all missed every time: more misses first)";
    ASSERT_TRUE(record.append(second, error)) << error;
    EXPECT_EQ(drillFavourites(boxesOn("2024-03-02"), secondRun, "2024-03-02"), (std::vector<std::string>{"QRP", "/"}))
        << "Y moved up and is not due; QRP (1 of 1) before / (2 of 3)";
    EXPECT_EQ(drillFavourites(boxesOn("2024-03-02"), secondRun, "2024-03-02", 1), std::vector<std::string>{"QRP"});
    EXPECT_EQ(drillFavourites(boxesOn("2024-03-04"), ErrorAnalysis{}, "2024-03-04"), (std::vector<std::string>{"QRP", "/", "Y"}))
        << "4 March: Y due again in its box 2, after the box-1 units";
}

TEST(DrillAcrossDays, LowestBoxFirstThenTheHighestShareMissed) {
    const std::vector<PracticeRecord> record = {
        practice("2024-03-01", "09:00:00", {{"Z", ""}}),                                     // Z: box 1
        practice("2024-03-02", "09:00:00", {{"Z", "Z"}, {"Z", "Z"}}),                        // Z: box 2, due 4 March
        practice("2024-03-03", "09:00:00", {{"W", "V"}, {"W", "W"}, {"W", "W"}, {"W", "W"}}),  // W: box 1, 1 of 4
    };
    EXPECT_EQ(drillFavourites(reviewBoxes(record, "2024-03-04"), ErrorAnalysis{}, "2024-03-04"), (std::vector<std::string>{"W", "Z"}))
        << "W (box 1, 25 %) before Z (box 2, 33 %)";
    EXPECT_EQ(drillFavourites(reviewBoxes(record, "2024-03-03"), ErrorAnalysis{}, "2024-03-03"), std::vector<std::string>{"W"})
        << "Z is not due until 4 March";
}

}  // namespace
}  // namespace tessaly
