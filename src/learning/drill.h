#pragma once
// Drills of weak characters: a practice set made of callsigns that contain them.
#include "learning/error_analysis.h"
#include "learning/review_boxes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Whether the line reads at least one of the weak units. Units are compared by
// name, so "MOBILE" matches a line with "m" and "QRP" one with "q".
bool callsignDrills(std::string_view practiceLine, const std::vector<std::string>& weakUnits);

// The units the drill favours across days, at most n, first the most in need; what
// the generator's `drillUnits` takes. A unit is drilled when it has misses in its
// history and either its review is due `today` (its box's days have passed) or it
// was missed today, in the record (boxes as of today) or in this run's analysis
// (missed, and read at least twice in this run, as the drill of one run asks). A
// unit never missed is not drilled. Order: lowest box first (a unit missed today is
// in box 1), then the highest share missed (the whole record's, or this run's for a
// unit the record shows no miss of), then more misses, then the fixed unit order.
// With no record (no boxes) this is this run's weakest, as the drill of one run.
std::vector<std::string> drillFavourites(const std::vector<ReviewBox>& boxes, const ErrorAnalysis& thisRun,
                                         std::string_view today, std::size_t n = 3);

}  // namespace tessaly
