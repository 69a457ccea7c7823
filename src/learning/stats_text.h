#pragma once
// The stats report for a terminal: a summary first (how copying goes, what to
// practise next), then a table of the practices and one of the characters.
#include "learning/stats_report.h"

#include <string>

namespace tessaly {

std::string statsText(const StatsReport& report);

}  // namespace tessaly
