#include "learning/review_boxes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tessaly {
namespace {

// A practice of one-unit lines: each pair is the line read and the answer typed.
PracticeRecord practice(const char* date, const char* time, std::vector<std::pair<const char*, const char*>> readings) {
    PracticeRecord p{date, time, "exam", "5", "off", {}, {}};
    int number = 0;
    for (const auto& [line, answer] : readings)
        p.rows.push_back({++number, answer, line, std::string(answer) == line, line});
    return p;
}

TEST(ReviewBoxes, DatesAndIntervals) {
    EXPECT_EQ(addDays("2024-02-28", 1), "2024-02-29");
    EXPECT_EQ(addDays("2024-02-28", 2), "2024-03-01");
    EXPECT_EQ(addDays("2023-12-31", 16), "2024-01-16");
    EXPECT_EQ(addDays("2024-03-01", -1), "2024-02-29");
    EXPECT_EQ(addDays("not a day", 1), "not a day");
    EXPECT_EQ((std::vector<int>{reviewIntervalDays(1), reviewIntervalDays(2), reviewIntervalDays(3), reviewIntervalDays(4),
                                reviewIntervalDays(5)}),
              (std::vector<int>{1, 2, 4, 8, 16}));
}

TEST(ReviewBoxes, AUnitsBoxOverSeveralWeeks) {
    // Y's history; K is read twice every day and never missed.
    const std::vector<PracticeRecord> record = {
        practice("2024-03-01", "09:00:00", {{"Y", "V"}, {"K", "K"}, {"K", "K"}}),               // missed: box 1
        practice("2024-03-02", "09:00:00", {{"Y", "Y"}, {"K", "K"}}),                          // two right over the day's
        practice("2024-03-02", "20:00:00", {{"Y", "Y"}, {"K", "K"}}),                          // two practices: box 2
        practice("2024-03-03", "09:00:00", {{"Y", "Y"}, {"K", "K"}, {"K", "K"}}),               // once: stays
        practice("2024-03-04", "09:00:00", {{"Y", "Y"}, {"Y", "Y"}, {"K", "K"}, {"K", "K"}}),   // box 3
        practice("2024-03-08", "09:00:00", {{"Y", "Y"}, {"Y", "Y"}, {"K", "K"}, {"K", "K"}}),   // box 4
        practice("2024-03-16", "09:00:00", {{"Y", "Y"}, {"Y", "Y"}, {"K", "K"}, {"K", "K"}}),   // box 5
        practice("2024-04-01", "09:00:00", {{"Y", "Y"}, {"Y", "Y"}, {"K", "K"}, {"K", "K"}}),   // box 5 again
        practice("2024-04-05", "09:00:00", {{"Y", "Y"}, {"Y", ""}, {"Y", "Y"}, {"K", "K"}, {"K", "K"}}),  // one miss: box 1
    };
    struct Case {
        const char* asOf;
        int box;
        const char* since;
        const char* due;
        int read, missed;
        int kBox;
    } cases[] = {
        {"2024-02-29", 0, "", "", 0, 0, 0},  // nothing read yet
        {"2024-03-01", 1, "2024-03-01", "2024-03-02", 1, 1, 2},
        {"2024-03-02", 2, "2024-03-02", "2024-03-04", 3, 1, 3},
        {"2024-03-03", 2, "2024-03-02", "2024-03-04", 4, 1, 4},
        {"2024-03-05", 3, "2024-03-04", "2024-03-08", 6, 1, 5},
        {"2024-03-08", 4, "2024-03-08", "2024-03-16", 8, 1, 5},
        {"2024-03-20", 5, "2024-03-16", "2024-04-01", 10, 1, 5},
        {"2024-04-01", 5, "2024-04-01", "2024-04-17", 12, 1, 5},
        {"2024-04-05", 1, "2024-04-05", "2024-04-06", 15, 2, 5},
        {"2024-06-30", 1, "2024-04-05", "2024-04-06", 15, 2, 5},
    };
    for (const Case& c : cases) {
        const std::vector<ReviewBox> boxes = reviewBoxes(record, c.asOf);
        const ReviewBox* y = boxOf(boxes, "Y");
        if (c.box == 0) {
            EXPECT_TRUE(boxes.empty()) << c.asOf;
            continue;
        }
        ASSERT_NE(y, nullptr) << c.asOf;
        EXPECT_EQ(y->box, c.box) << c.asOf;
        EXPECT_EQ(y->since, c.since) << c.asOf;
        EXPECT_EQ(y->due, c.due) << c.asOf;
        EXPECT_EQ(y->read, c.read) << c.asOf;
        EXPECT_EQ(y->missed, c.missed) << c.asOf;
        EXPECT_EQ(y->lastMissed, c.missed == 2 ? "2024-04-05" : "2024-03-01") << c.asOf;
        ASSERT_NE(boxOf(boxes, "K"), nullptr);
        EXPECT_EQ(boxOf(boxes, "K")->box, c.kBox) << c.asOf;
        EXPECT_EQ(boxOf(boxes, "K")->lastMissed, "") << c.asOf;
        EXPECT_EQ(boxes.size(), 2u) << c.asOf;
        EXPECT_EQ(boxes[0].unit, "K") << "in the fixed unit order";
    }
    const std::vector<ReviewBox> boxes = reviewBoxes(record, "2024-04-05");
    EXPECT_DOUBLE_EQ(boxOf(boxes, "Y")->missedShare(), 2.0 / 15);
    EXPECT_FALSE(boxOf(boxes, "Y")->dueOn("2024-04-05"));
    EXPECT_TRUE(boxOf(boxes, "Y")->dueOn("2024-04-06"));
}

TEST(ReviewBoxes, TheCodesAndUnitsOfWholeCallsigns) {
    // MOBILE and QRP are units of their own; a unit left out is missed like one written wrong.
    const std::vector<PracticeRecord> record = {
        practice("2024-03-01", "09:00:00", {{"K1ABC/m", "K1ABC"}, {"G4ABC/q", "G4ABC/QRP"}}),
        practice("2024-03-02", "09:00:00", {{"K1ABC/m", "K1ABC/M"}, {"W1AW/m", "W1AW/M"}, {"G4ABC/q", "G4ABC/QRP"}}),
    };
    const std::vector<ReviewBox> boxes = reviewBoxes(record, "2024-03-02");
    ASSERT_NE(boxOf(boxes, "MOBILE"), nullptr);
    EXPECT_EQ(boxOf(boxes, "MOBILE")->box, 2) << "missed the first day, two right the next";
    EXPECT_EQ(boxOf(boxes, "MOBILE")->missed, 1);
    EXPECT_EQ(boxOf(boxes, "QRP")->box, 1) << "read once a day: never twice on one day";
    EXPECT_EQ(boxOf(boxes, "/")->box, 2) << "left out with MOBILE the first day, three right the next";
    EXPECT_EQ(boxOf(boxes, "1")->read, 3);
    EXPECT_EQ(boxOf(boxes, "M"), nullptr) << "the letter M was never read";
}

}  // namespace
}  // namespace tessaly
