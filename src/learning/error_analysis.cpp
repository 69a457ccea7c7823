#include "learning/error_analysis.h"

#include "learning/alignment.h"
#include "learning/read_units.h"

#include <algorithm>

namespace tessaly {

std::pair<std::string, int> UnitErrors::mostWrittenAs() const {
    std::pair<std::string, int> most{"", 0};
    for (const auto& [token, count] : writtenAs)
        if (count > most.second) most = {token, count};
    return most;
}

bool worseThan(const UnitErrors& a, const UnitErrors& b) {
    // a.missed / a.read against b.missed / b.read, without rounding.
    const long long left = static_cast<long long>(a.missed) * b.read;
    const long long right = static_cast<long long>(b.missed) * a.read;
    if (left != right) return left > right;
    if (a.missed != b.missed) return a.missed > b.missed;
    if (unitRank(a.unit) != unitRank(b.unit)) return unitRank(a.unit) < unitRank(b.unit);
    return a.unit < b.unit;
}

void ErrorAnalysis::addPractice(const std::vector<AnsweredLine>& answered) {
    std::vector<Alignment> aligned;
    aligned.reserve(answered.size());
    for (const AnsweredLine& one : answered) aligned.push_back(align(one.answer, unitsRead(one.line)));
    addAligned(aligned);
}

void ErrorAnalysis::addAligned(const std::vector<Alignment>& practice) {
    ++practices_;
    for (const Alignment& alignment : practice) {
        for (const UnitCopy& copy : alignment.units) {
            UnitErrors& errors = units_[copy.unit.name];
            errors.unit = copy.unit.name;
            ++errors.read;
            if (copy.copy == Copy::copied) continue;
            ++errors.missed;
            if (copy.copy == Copy::omitted)
                ++errors.omitted;
            else
                ++errors.writtenAs[copy.writtenAs];
        }
        for (const Insertion& extra : alignment.inserted) ++inserted_[extra.token];
    }
}

void ErrorAnalysis::addUnit(const UnitErrors& counted) {
    if (counted.read == 0) return;
    UnitErrors& errors = units_[counted.unit];
    errors.unit = counted.unit;
    errors.read += counted.read;
    errors.missed += counted.missed;
    errors.omitted += counted.omitted;
    for (const auto& [token, count] : counted.writtenAs) errors.writtenAs[token] += count;
}

std::vector<UnitErrors> ErrorAnalysis::rows() const {
    std::vector<UnitErrors> rows;
    rows.reserve(units_.size());
    for (const auto& entry : units_) rows.push_back(entry.second);
    std::sort(rows.begin(), rows.end(), worseThan);
    return rows;
}

const UnitErrors* ErrorAnalysis::unit(std::string_view name) const {
    const auto found = units_.find(name);
    return found == units_.end() ? nullptr : &found->second;
}

std::vector<std::string> ErrorAnalysis::weakest(std::size_t n, int minRead) const {
    std::vector<std::string> names;
    for (const UnitErrors& row : rows()) {
        if (names.size() == n) break;
        if (row.read >= minRead && row.missed > 0) names.push_back(row.unit);
    }
    return names;
}

}  // namespace tessaly
