#pragma once
// Texts as lines separated by CR LF (a lone CR or LF is an ordinary character).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Line `linenum` (from 1) of the text; the empty text when out of range. A text
// ending in CR LF has an empty last line.
std::string readline(std::string_view strtext, int linenum);

// 0 for the empty text, otherwise the number of CR LF plus one.
int linecount(std::string_view strtext);

// The lines of a text, split once, for looking many of them up (identical results
// to readline, without re-splitting the whole text for every look-up).
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    std::string_view line(int linenum) const;
    int count() const { return static_cast<int>(lines_.size()); }

private:
    std::vector<std::string_view> lines_;
};

}  // namespace tessaly
