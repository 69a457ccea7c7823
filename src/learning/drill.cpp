#include "learning/drill.h"

#include "learning/read_units.h"

#include <algorithm>

namespace tessaly {

bool callsignDrills(std::string_view practiceLine, const std::vector<std::string>& weakUnits) {
    const auto units = unitsRead(practiceLine);
    return std::any_of(units.begin(), units.end(), [&](const ReadUnit& unit) {
        return std::find(weakUnits.begin(), weakUnits.end(), unit.name) != weakUnits.end();
    });
}

std::vector<std::string> drillFavourites(const std::vector<ReviewBox>& boxes, const ErrorAnalysis& thisRun,
                                         std::string_view today, std::size_t n) {
    struct Candidate {
        std::string unit;
        int box;
        int read, missed;
    };
    std::vector<Candidate> candidates;
    for (const ReviewBox& b : boxes)
        if (b.missed > 0 && (b.dueOn(today) || b.lastMissed == today)) candidates.push_back({b.unit, b.box, b.read, b.missed});
    for (const UnitErrors& u : thisRun.rows()) {
        if (u.missed == 0 || u.read < 2) continue;
        const auto known = std::find_if(candidates.begin(), candidates.end(), [&](const Candidate& c) { return c.unit == u.unit; });
        if (known != candidates.end()) {
            known->box = 1;  // missed today, whatever its box in the record as read
        } else if (const ReviewBox* b = boxOf(boxes, u.unit); b && b->missed > 0) {
            candidates.push_back({u.unit, 1, b->read, b->missed});
        } else {
            candidates.push_back({u.unit, 1, u.read, u.missed});
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.box != b.box) return a.box < b.box;
        // a.missed / a.read against b.missed / b.read, without rounding.
        const long long left = static_cast<long long>(a.missed) * b.read, right = static_cast<long long>(b.missed) * a.read;
        if (left != right) return left > right;
        if (a.missed != b.missed) return a.missed > b.missed;
        return unitRank(a.unit) != unitRank(b.unit) ? unitRank(a.unit) < unitRank(b.unit) : a.unit < b.unit;
    });
    std::vector<std::string> units;
    for (const Candidate& c : candidates) {
        if (units.size() == n) break;
        units.push_back(c.unit);
    }
    return units;
}

}  // namespace tessaly
