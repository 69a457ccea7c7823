#include "learning/record_analysis.h"

namespace tessaly {

std::vector<AnsweredLine> answeredLines(const PracticeRecord& practice) {
    std::vector<AnsweredLine> answered;
    answered.reserve(practice.rows.size());
    for (const PracticeRow& row : practice.rows) answered.push_back({row.answer, row.line});
    return answered;
}

ErrorAnalysis recordAnalysis(const std::vector<PracticeRecord>& practices) {
    ErrorAnalysis analysis;
    for (const PracticeRecord& practice : practices) analysis.addPractice(answeredLines(practice));
    return analysis;
}

ErrorAnalysis recordAnalysis(const std::vector<PracticeRecord>& practices, std::string_view firstDay,
                             std::string_view lastDay) {
    ErrorAnalysis analysis;
    for (const PracticeRecord& practice : practices)
        if (practice.date >= firstDay && practice.date <= lastDay) analysis.addPractice(answeredLines(practice));
    return analysis;
}

}  // namespace tessaly
