#pragma once
// Drills of weak characters: a practice set made of callsigns that contain them.
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Whether the line reads at least one of the weak units. Units are compared by
// name, so "MOBILE" matches a line with "m" and "QRP" one with "q".
bool callsignDrills(std::string_view practiceLine, const std::vector<std::string>& weakUnits);

}  // namespace tessaly
