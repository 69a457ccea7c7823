#pragma once
// Review boxes of spaced repetition, derived from the learning record (so there is
// no second file to keep in step with it; record_digest.h keeps what they need).
//
// Each unit read (A-Z, 0-9, "/", MOBILE, QRP: read_units.h) starts in box 1 on
// the first day it is read, then goes through the practice days in order:
// - a day on which it was missed at least once puts it in box 1;
// - a day on which it was read at least twice and never missed moves it up one box,
//   to box 5 at most (a good day in box 5 starts box 5 again);
// - any other day (read once, not missed) leaves it where it is.
// Box k is due again 1, 2, 4, 8 or 16 days after the day the unit entered it.
// A reading is one unit of a callsign read, aligned with the answer as the error
// analysis aligns it (alignment.h); days are the practices' local dates.
#include "learning/practice_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

constexpr int kReviewBoxes = 5;

struct ReviewBox {
    std::string unit;       // "A", "7", "/", "MOBILE", "QRP"
    int box = 1;            // 1 .. 5
    std::string since;      // "YYYY-MM-DD": the day it entered its box
    std::string due;        // since + 1, 2, 4, 8 or 16 days
    std::string lastMissed; // the last day it was missed; "" when never
    int read = 0;           // over the whole history
    int missed = 0;
    double missedShare() const { return read == 0 ? 0.0 : static_cast<double>(missed) / read; }
    bool dueOn(std::string_view day) const { return due <= day; }
    bool operator==(const ReviewBox&) const = default;
};

// The days after which box 1 .. 5 is due again.
int reviewIntervalDays(int box);

// "YYYY-MM-DD" moved by `days`; the date as given when it is no calendar day.
std::string addDays(std::string_view date, int days);

// Every unit read on or before `asOf` ("YYYY-MM-DD"; practices after it are not
// counted), in the fixed unit order (A-Z, 0-9, "/", MOBILE, QRP).
std::vector<ReviewBox> reviewBoxes(const std::vector<PracticeRecord>& record, std::string_view asOf);

// The box of that unit; nullptr when it was never read.
const ReviewBox* boxOf(const std::vector<ReviewBox>& boxes, std::string_view unit);

}  // namespace tessaly
