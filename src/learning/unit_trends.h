#pragma once
// Each character's miss rate over the last days against the same number of days
// before them, from the kept practices: is it getting better?
#include "learning/error_analysis.h"
#include "learning/practice_record.h"
#include "learning/record_digest.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct UnitTrend {
    UnitErrors recent;   // the last `days` days, today included
    UnitErrors earlier;  // the `days` days before them
    const std::string& unit() const { return recent.unit; }
};

// Every unit read in either span. Worst first by the recent span (as ErrorAnalysis
// ranks), then those read only earlier, worst first; `today` is "YYYY-MM-DD".
std::vector<UnitTrend> unitTrends(const RecordDigest& digest, std::string_view today, int days = 7);
std::vector<UnitTrend> unitTrends(const std::vector<PracticeRecord>& practices, std::string_view today, int days = 7);

}  // namespace tessaly
