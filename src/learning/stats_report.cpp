#include "learning/stats_report.h"

#include "learning/error_analysis.h"

#include <algorithm>
#include <numeric>
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
    // Dates and times are fixed-width digits, so text order is time order; equal
    // times keep the order they were read in (by index, not by stable_sort, whose
    // temporary buffer the address sanitizer of GCC 12 reports as a mismatch).
    std::vector<std::size_t> order(report.practices.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto& p = report.practices;
    std::sort(order.begin(), order.end(), [&p](std::size_t a, std::size_t b) {
        return std::tie(p[a].date, p[a].time, a) < std::tie(p[b].date, p[b].time, b);
    });
    std::vector<PracticeSummary> sorted;
    for (std::size_t i : order) sorted.push_back(std::move(report.practices[i]));
    report.practices = std::move(sorted);
    for (const UnitErrors& row : analysis.rows()) {
        const auto [token, count] = row.mostWrittenAs();
        report.units.push_back({row.unit, row.read, row.missed, row.omitted, row.missedShare(), token, count});
    }
    report.weakest = analysis.weakest();
    report.inserted = analysis.inserted();
    return report;
}

}  // namespace tessaly
