#pragma once
// The stats report as one JSON object, for programs: `tessaly stats --json`.
//
//   {"source": "record", "record": "/home/me/.local/share/tessaly/record.csv",
//    "found": true, "asOf": "2024-05-04",
//    "practices": 12, "callsigns": 240, "copied": 180, "seconds": 3600, "days": 5,
//    "thresholds": [{"date": "2024-05-01", "time": "09:05:00", "threshold": -3.5, "se": 0.8, "trials": 20,
//                    "method": "characters", "wholeThreshold": 2.4,
//                    "conditions": {"words": "exam", "digits": "set", "speaker": "default", "path": "off",
//                                   "passband": false, "agc": "off"}}],
//    "characters": [{"unit": "Y", "read": 10, "missed": 5, "omitted": 1, "share": 0.5,
//                    "box": 1, "due": "2024-05-04", "writtenAs": "V", "writtenAsCount": 3}],
//    "weakest": ["Y"], "byDay": [...], "byPractice": [...], "warnings": []}
//
// A threshold's method is "characters" (half the characters copied) or "callsigns"
// (half the whole callsigns: runs kept before); only runs of equal method and
// conditions compare. Counts are numbers; "characters" is worst first, "thresholds", "byDay" and
// "byPractice" oldest first. A character without a box has "box": 0, "due": null.
#include "learning/stats_report.h"

#include <string>
#include <vector>

namespace tessaly {

struct StatsSource {
    std::string record;               // the record read; "" when files were given
    bool found = true;                // the record was there
    std::vector<std::string> files;   // the results files read
    std::vector<std::string> warnings;  // lines of the record that were skipped
};

// Pretty-printed, ending in a line end.
std::string statsJson(const StatsReport& report, const StatsSource& source);

}  // namespace tessaly
