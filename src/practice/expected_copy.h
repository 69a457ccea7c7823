#pragma once
#include <string>

namespace tessaly {

// What a correct copy of a practice-text line looks like: the line in capitals,
// except that a low-power code "/q" is written out as "/QRP".
std::string ExpectedCopy(const std::string& line);

}  // namespace tessaly
