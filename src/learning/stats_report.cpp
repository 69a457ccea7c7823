#include "learning/stats_report.h"

#include "learning/record_analysis.h"
#include "learning/review_boxes.h"

#include <algorithm>
#include <tuple>

namespace tessaly {

StatsReport statsReport(const std::vector<PracticeRecord>& records, std::string_view asOf) {
    StatsReport report;
    for (const PracticeRecord& record : records) {
        PracticeSummary practice;
        practice.date = record.date, practice.time = record.time, practice.words = record.words;
        practice.speed = record.speed, practice.noise = record.noise, practice.conditions = record.conditions;
        practice.rows = static_cast<int>(record.rows.size());
        practice.copied = static_cast<int>(std::count_if(record.rows.begin(), record.rows.end(), [](const PracticeRow& r) { return r.copied; }));
        if (practice.rows > 0) practice.copyRate = static_cast<double>(practice.copied) / practice.rows;
        practice.seconds = record.seconds;
        report.rows += practice.rows;
        report.copied += practice.copied;
        report.seconds += practice.seconds;
        report.practices.push_back(std::move(practice));
        if (record.thresholdDb && record.thresholdSe)
            report.thresholds.push_back({record.date, record.time, *record.thresholdDb, *record.thresholdSe,
                                         static_cast<int>(record.rows.size())});
    }
    // Dates and times are fixed-width digits, so text order is time order; equal
    // times keep their order.
    const auto byTime = [](const auto& a, const auto& b) { return std::tie(a.date, a.time) < std::tie(b.date, b.time); };
    std::stable_sort(report.practices.begin(), report.practices.end(), byTime);
    std::stable_sort(report.thresholds.begin(), report.thresholds.end(), byTime);

    for (const PracticeSummary& p : report.practices) {
        if (report.days.empty() || report.days.back().date != p.date) report.days.emplace_back().date = p.date;
        DaySummary& day = report.days.back();
        ++day.practices;
        day.rows += p.rows;
        day.copied += p.copied;
        day.seconds += p.seconds;
        day.copyRate = day.rows > 0 ? static_cast<double>(day.copied) / day.rows : 0.0;
    }

    report.asOf = !asOf.empty() ? std::string(asOf) : report.practices.empty() ? "" : report.practices.back().date;
    const std::vector<ReviewBox> boxes = reviewBoxes(records, report.asOf);
    const ErrorAnalysis analysis = recordAnalysis(records);
    for (const UnitErrors& row : analysis.rows()) {
        const auto [token, count] = row.mostWrittenAs();
        UnitSummary unit{row.unit, row.read, row.missed, row.omitted, row.missedShare(), token, count, 0, ""};
        if (const ReviewBox* box = boxOf(boxes, row.unit)) unit.box = box->box, unit.due = box->due;
        report.units.push_back(std::move(unit));
    }
    report.weakest = analysis.weakest();
    report.inserted = analysis.inserted();
    return report;
}

}  // namespace tessaly
