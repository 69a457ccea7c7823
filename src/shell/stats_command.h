#pragma once
#include <string>
#include <vector>

namespace tessaly {

// `tessaly stats FILE.csv... [--png OUT.png]`: reads results files exported from the
// window or the script host and prints the copy rate of each practice, oldest
// first, and the characters missed most over all of them; --png draws the same.
int statsCommand(const std::vector<std::string>& args);

}  // namespace tessaly
