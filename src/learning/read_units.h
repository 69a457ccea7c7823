#pragma once
// What the reader says for a practice-text line, unit by unit: each character is
// one spoken unit, and the two lower-case codes are spoken as words.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct ReadUnit {
    std::string name;     // "A".."Z", "0".."9", "/", "MOBILE" (for "m") or "QRP" (for "q")
    std::string written;  // how a correct copy writes it: "M" for MOBILE, "QRP" for QRP
    bool operator==(const ReadUnit&) const = default;
};

// One unit per character read. Characters the reader has no clip for (a space,
// other lower-case letters) are not spoken, so they give no unit. For a line of
// the practice alphabet the written forms joined give its expected copy.
std::vector<ReadUnit> unitsRead(std::string_view practiceLine);

// The start of a line that holds its first `count` units (the whole line when it
// has no more): what had been spoken of it when the reader stopped there.
std::string_view firstUnits(std::string_view practiceLine, std::size_t count);

// The unit of that name, if there is one.
std::optional<ReadUnit> unitNamed(std::string_view name);

// The fixed order of units for ties in every ranking: A-Z, 0-9, "/", MOBILE, QRP;
// an unknown name comes after all of them.
int unitRank(std::string_view name);

// The units of a line as spoken, separated by spaces: "J A 1 A B C / MOBILE".
std::string spokenUnits(std::string_view practiceLine);

// The practice-text line whose units are spoken so ("JA1ABC/m"); nothing when a
// word is not a unit name or the words are not separated by single spaces.
std::optional<std::string> lineFromSpoken(std::string_view spoken);

}  // namespace tessaly
