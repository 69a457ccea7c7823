#pragma once
// Which characters to show as wrong in a marked row: those of the answer that were
// written for another character or never read, and those of the expected copy
// that were missed (written as something else or left out). From the same
// alignment as the error analysis, so the row and the analysis agree.
#include <string_view>
#include <vector>

namespace tessaly {

struct AnswerMarks {
    std::vector<bool> wrongTyped;  // one per character (code point) of the answer
    std::vector<bool> missed;      // one per character of the expected copy
};

// `line` as read ("JA1ABC/m"); its expected copy is its units' written forms joined ("JA1ABC/M").
AnswerMarks answerMarks(std::string_view answer, std::string_view line);

}  // namespace tessaly
