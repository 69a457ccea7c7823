#pragma once
// What the drill, the review boxes, the error analysis and the progress report need
// of kept practices, made one practice at a time: each answer is aligned with what
// was read once, as its practice is added, and only counts are kept (each day's
// readings of each unit, a summary of each practice). A record is read once; a
// practice marked later adds its own rows, and nothing is worked out again over
// the whole record.
#include "learning/error_analysis.h"
#include "learning/learning_record.h"
#include "learning/practice_record.h"
#include "learning/review_boxes.h"
#include "learning/stats_report.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

class RecordDigest {
public:
    void add(const PracticeRecord& practice);

    std::size_t practices() const { return summaries_.size(); }
    // Every practice added, in one analysis (summed from the days when first asked,
    // then kept up to date).
    const ErrorAnalysis& analysis() const;
    // The practices of the days from `firstDay` to `lastDay` ("YYYY-MM-DD", both included).
    ErrorAnalysis analysis(std::string_view firstDay, std::string_view lastDay) const;
    // Each unit's review box as of `asOf` (practices after it are not counted), in
    // the fixed unit order (review_boxes.h).
    std::vector<ReviewBox> boxes(std::string_view asOf) const;
    // The stats report with the review boxes of `asOf`; "" takes the last practice's day.
    StatsReport report(std::string_view asOf) const;
    // The threshold of the latest run under these conditions, if there is one.
    std::optional<double> lastThreshold(const ThresholdConditions& conditions) const;

private:
    // A unit's readings on one day. Units by unitRank(): A-Z, 0-9, "/", MOBILE, QRP.
    struct Readings {
        int read = 0, missed = 0, omitted = 0;
    };
    static constexpr std::size_t kUnits = 39;
    struct Day {
        int practices = 0;
        std::array<Readings, kUnits> units{};
        std::map<std::pair<std::size_t, std::string>, int> writtenAs;  // (unit, token): substitutions
        std::map<std::string, int> inserted;
    };

    std::map<std::string, Day> days_;  // by date: text order is time order
    std::vector<PracticeSummary> summaries_;  // in the order added
    std::vector<ThresholdSummary> thresholds_;
    mutable std::optional<ErrorAnalysis> analysis_;
};

// A record read into a digest: the digest, and what reading it found besides
// (whether it is there, its damaged lines, why it could not be read, its stamp).
struct DigestedRecord {
    RecordDigest digest;
    RecordContents contents;  // without its practices
};
DigestedRecord digestRecord(const LearningRecord& record, const RecordLimits& limits = {});

}  // namespace tessaly
