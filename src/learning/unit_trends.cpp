#include "learning/unit_trends.h"

#include "learning/review_boxes.h"

namespace tessaly {

std::vector<UnitTrend> unitTrends(const RecordDigest& digest, std::string_view today, int days) {
    const std::string recentFirst = addDays(today, 1 - days);
    const ErrorAnalysis recent = digest.analysis(recentFirst, today);
    const ErrorAnalysis earlier = digest.analysis(addDays(today, 1 - 2 * days), addDays(recentFirst, -1));
    std::vector<UnitTrend> trends;
    for (const UnitErrors& u : recent.rows()) {
        UnitTrend t{u, {}};
        if (const UnitErrors* before = earlier.unit(u.unit)) t.earlier = *before;
        t.earlier.unit = u.unit;
        trends.push_back(std::move(t));
    }
    for (const UnitErrors& u : earlier.rows()) {
        if (recent.unit(u.unit)) continue;
        UnitTrend t{{}, u};
        t.recent.unit = u.unit;
        trends.push_back(std::move(t));
    }
    return trends;
}

std::vector<UnitTrend> unitTrends(const std::vector<PracticeRecord>& practices, std::string_view today, int days) {
    RecordDigest digest;
    for (const PracticeRecord& practice : practices) digest.add(practice);
    return unitTrends(digest, today, days);
}

}  // namespace tessaly
