#pragma once
// The stats report for a terminal, in the window's language (Chinese): a summary
// first (how copying goes, what to practise next, what is due for review), then
// the thresholds over time, a table of the practices and one of the characters.
// Columns are aligned by terminal width (a Chinese character takes two).
#include "learning/stats_report.h"

#include <string>

namespace tessaly {

std::string statsText(const StatsReport& report);

}  // namespace tessaly
