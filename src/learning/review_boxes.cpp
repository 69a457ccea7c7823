#include "learning/review_boxes.h"

#include "learning/read_units.h"
#include "learning/record_digest.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace tessaly {

int reviewIntervalDays(int box) { return 1 << (std::clamp(box, 1, kReviewBoxes) - 1); }

std::string addDays(std::string_view date, int days) {
    if (!isRecordDate(date)) return std::string(date);
    const auto number = [&](std::size_t at, std::size_t count) { return std::stoi(std::string(date.substr(at, count))); };
    using namespace std::chrono;
    const year_month_day day{sys_days{year_month_day{year{number(0, 4)}, month{static_cast<unsigned>(number(5, 2))},
                                                     std::chrono::day{static_cast<unsigned>(number(8, 2))}}} +
                             std::chrono::days{days}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                  static_cast<unsigned>(day.day()));
    return text;
}

std::vector<ReviewBox> reviewBoxes(const std::vector<PracticeRecord>& record, std::string_view asOf) {
    RecordDigest digest;
    for (const PracticeRecord& practice : record) digest.add(practice);
    return digest.boxes(asOf);
}

const ReviewBox* boxOf(const std::vector<ReviewBox>& boxes, std::string_view unit) {
    const auto found = std::find_if(boxes.begin(), boxes.end(), [&](const ReviewBox& b) { return b.unit == unit; });
    return found == boxes.end() ? nullptr : &*found;
}

}  // namespace tessaly
