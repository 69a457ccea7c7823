#pragma once
// The error analysis of kept practices: the learning record or results files read
// back, every practice of them fed to one ErrorAnalysis.
#include "learning/error_analysis.h"
#include "learning/practice_record.h"

#include <string_view>
#include <vector>

namespace tessaly {

// A practice's rows as the analysis takes them: each row's answer with its line.
std::vector<AnsweredLine> answeredLines(const PracticeRecord& practice);

// The analysis over every practice, in the order given.
ErrorAnalysis recordAnalysis(const std::vector<PracticeRecord>& practices);

// The same over the practices of the days from `firstDay` to `lastDay`
// ("YYYY-MM-DD", both included): the last 7 days against the 7 before them.
ErrorAnalysis recordAnalysis(const std::vector<PracticeRecord>& practices, std::string_view firstDay,
                             std::string_view lastDay);

}  // namespace tessaly
