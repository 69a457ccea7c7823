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

}  // namespace tessaly
