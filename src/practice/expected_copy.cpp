#include "practice/expected_copy.h"

#include <cctype>

namespace tessaly {

std::string ExpectedCopy(const std::string& line) {
    std::string upper = line;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto lowPower = line.find("/q");
    if (lowPower == std::string::npos) return upper;
    return upper.substr(0, lowPower + 1) + "QRP";
}

}  // namespace tessaly
