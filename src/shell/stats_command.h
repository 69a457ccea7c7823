#pragma once
#include <string>
#include <vector>

namespace tessaly {

// `tessaly stats [FILE.csv...] [--json] [--png OUT.png]`: reads the learning record,
// or the results files given, and prints (in Chinese, the window's language) the
// copy rate of each practice, oldest first, the thresholds over time and the
// characters missed most with their review boxes; --json prints the same as one
// JSON object, --png draws it. Lines of the record that cannot be read are skipped,
// each with one warning on standard error.
int statsCommand(const std::vector<std::string>& args);

}  // namespace tessaly
