#pragma once
// Non-repeating random picks, for drawing callsigns from the library.
#include "base/random_source.h"

#include <cstdint>
#include <vector>

namespace tessaly {

// n different whole numbers from NumMin..NumMax in the order drawn, each uniform
// over the values not drawn before it; empty when n < 1 or the range is too small.
std::vector<std::int32_t> GetRndNotRepeat(std::int32_t NumMin, std::int32_t NumMax, std::int32_t n,
                                          RandomSource& random);

}  // namespace tessaly
