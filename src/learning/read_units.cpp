#include "learning/read_units.h"

namespace tessaly {
namespace {

std::optional<ReadUnit> unitOf(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/') return ReadUnit{{c}, {c}};
    if (c == 'm') return ReadUnit{"MOBILE", "M"};
    if (c == 'q') return ReadUnit{"QRP", "QRP"};
    return std::nullopt;
}

}  // namespace

std::vector<ReadUnit> unitsRead(std::string_view practiceLine) {
    std::vector<ReadUnit> units;
    for (const char c : practiceLine)
        if (auto unit = unitOf(c)) units.push_back(std::move(*unit));
    return units;
}

std::string_view firstUnits(std::string_view practiceLine, std::size_t count) {
    if (count == 0) return practiceLine.substr(0, 0);
    for (std::size_t i = 0; i < practiceLine.size(); ++i)
        if (unitOf(practiceLine[i]) && --count == 0) return practiceLine.substr(0, i + 1);
    return practiceLine;
}

std::optional<ReadUnit> unitNamed(std::string_view name) {
    // A name is not the line's code: "m" is no unit name, "MOBILE" is.
    const char code = name == "MOBILE" ? 'm' : name == "QRP" ? 'q' : name.size() == 1 ? name[0] : '\0';
    auto unit = unitOf(code);
    if (unit && unit->name != name) return std::nullopt;
    return unit;
}

int unitRank(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0] - 'A';
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return 26 + (name[0] - '0');
    if (name == "/") return 36;
    if (name == "MOBILE") return 37;
    if (name == "QRP") return 38;
    return 39;
}

std::string spokenUnits(std::string_view practiceLine) {
    std::string spoken;
    for (const ReadUnit& unit : unitsRead(practiceLine)) {
        if (!spoken.empty()) spoken += ' ';
        spoken += unit.name;
    }
    return spoken;
}

std::optional<std::string> lineFromSpoken(std::string_view spoken) {
    std::string line;
    if (spoken.empty()) return line;
    for (std::size_t start = 0;;) {
        const std::size_t end = spoken.find(' ', start);
        const std::string_view word = spoken.substr(start, end == std::string_view::npos ? end : end - start);
        if (!unitNamed(word)) return std::nullopt;
        line += word == "MOBILE" ? 'm' : word == "QRP" ? 'q' : word[0];
        if (end == std::string_view::npos) return line;
        start = end + 1;
    }
}

}  // namespace tessaly
