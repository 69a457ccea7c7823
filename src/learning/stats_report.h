#pragma once
// What `tessaly stats` shows: how each practice went, and which characters are
// missed most over all of them. A plain struct, for the text report and a chart.
#include "learning/practice_record.h"

#include <map>
#include <string>
#include <vector>

namespace tessaly {

struct PracticeSummary {
    std::string date, time, words, speed, noise;
    std::vector<std::string> conditions;
    int rows = 0;
    int copied = 0;         // rows marked Y
    double copyRate = 0.0;  // copied / rows; 0 for a practice without rows
};

struct UnitSummary {
    std::string unit;  // "A", "7", "/", "MOBILE", "QRP"
    int read = 0;
    int missed = 0;
    int omitted = 0;  // the part of `missed` left out altogether
    double missedShare = 0.0;
    std::string mostWrittenAs;  // "" when it was never written as something else
    int mostWrittenAsCount = 0;
};

struct StatsReport {
    std::vector<PracticeSummary> practices;  // oldest first; equal times keep their order
    std::vector<UnitSummary> units;          // worst first, as ErrorAnalysis ranks them
    std::vector<std::string> weakest;        // worth a drill: ErrorAnalysis::weakest()
    std::map<std::string, int> inserted;     // typed but never read
    int rows = 0;                            // over all practices
    int copied = 0;
};

// Each row's answer is aligned again with the units of its line (as recovered
// from a results file's `read` column); the marks give the copy rates.
StatsReport statsReport(const std::vector<PracticeRecord>& records);

}  // namespace tessaly
