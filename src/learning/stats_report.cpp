#include "learning/stats_report.h"

#include "learning/error_analysis.h"

#include <algorithm>
#include <tuple>

namespace tessaly {

StatsReport statsReport(const std::vector<PracticeRecord>& records) {
    StatsReport report;
    ErrorAnalysis analysis;
    for (const PracticeRecord& record : records) {
        PracticeSummary practice{record.date, record.time, record.words, record.speed, record.noise, record.conditions};
        std::vector<AnsweredLine> answered;
        for (const PracticeRow& row : record.rows) {
            answered.push_back({row.answer, row.line});
            ++practice.rows;
            if (row.copied) ++practice.copied;
        }
        if (practice.rows > 0) practice.copyRate = static_cast<double>(practice.copied) / practice.rows;
        report.rows += practice.rows;
        report.copied += practice.copied;
        report.practices.push_back(std::move(practice));
        analysis.addPractice(answered);
    }
    // Dates and times are fixed-width digits, so text order is time order.
    std::stable_sort(report.practices.begin(), report.practices.end(), [](const PracticeSummary& a, const PracticeSummary& b) {
        return std::tie(a.date, a.time) < std::tie(b.date, b.time);
    });
    for (const UnitErrors& row : analysis.rows()) {
        const auto [token, count] = row.mostWrittenAs();
        report.units.push_back({row.unit, row.read, row.missed, row.omitted, row.missedShare(), token, count});
    }
    report.weakest = analysis.weakest();
    report.inserted = analysis.inserted();
    return report;
}

}  // namespace tessaly
