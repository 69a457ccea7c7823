#include "learning/review_boxes.h"

#include "learning/alignment.h"
#include "learning/read_units.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

namespace tessaly {
namespace {

struct DayCount {
    int read = 0;
    int missed = 0;
};

}  // namespace

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
    // Each day's readings of each unit; dates are fixed-width digits, so text order is time order.
    std::map<std::string, std::map<std::string, DayCount>> days;
    for (const PracticeRecord& practice : record) {
        if (practice.date > asOf || !isRecordDate(practice.date)) continue;
        auto& day = days[practice.date];
        for (const PracticeRow& row : practice.rows)
            for (const UnitCopy& copy : align(row.answer, unitsRead(row.line)).units) {
                DayCount& count = day[copy.unit.name];
                ++count.read;
                if (copy.copy != Copy::copied) ++count.missed;
            }
    }
    std::map<std::string, ReviewBox> boxes;
    for (const auto& [date, units] : days)
        for (const auto& [unit, count] : units) {
            auto [entry, first] = boxes.try_emplace(unit);
            ReviewBox& box = entry->second;
            if (first) box.unit = unit, box.since = date;
            box.read += count.read;
            box.missed += count.missed;
            if (count.missed > 0) {
                box.box = 1, box.since = date, box.lastMissed = date;
            } else if (count.read >= 2) {
                box.box = std::min(box.box + 1, kReviewBoxes), box.since = date;
            }
        }
    std::vector<ReviewBox> result;
    result.reserve(boxes.size());
    for (auto& [unit, box] : boxes) {
        box.due = addDays(box.since, reviewIntervalDays(box.box));
        result.push_back(std::move(box));
    }
    std::sort(result.begin(), result.end(), [](const ReviewBox& a, const ReviewBox& b) {
        return unitRank(a.unit) != unitRank(b.unit) ? unitRank(a.unit) < unitRank(b.unit) : a.unit < b.unit;
    });
    return result;
}

const ReviewBox* boxOf(const std::vector<ReviewBox>& boxes, std::string_view unit) {
    const auto found = std::find_if(boxes.begin(), boxes.end(), [&](const ReviewBox& b) { return b.unit == unit; });
    return found == boxes.end() ? nullptr : &*found;
}

}  // namespace tessaly
