#include "learning/answer_marks.h"

#include "base/utf8.h"
#include "learning/alignment.h"

namespace tessaly {
namespace {
void append(std::vector<bool>& marks, std::string_view text, bool wrong) {
    marks.insert(marks.end(), utf8Characters(text).size(), wrong);
}
}  // namespace

AnswerMarks answerMarks(std::string_view answer, std::string_view line) {
    const Alignment alignment = align(answer, unitsRead(line));
    AnswerMarks marks;
    // The answer's tokens come back in typing order: before each unit, what was
    // typed in front of it and never read; then the unit's own token, if any.
    std::size_t next = 0;
    const auto insertedBefore = [&](std::size_t unit) {
        for (; next < alignment.inserted.size() && alignment.inserted[next].beforeUnit <= unit; ++next)
            append(marks.wrongTyped, alignment.inserted[next].token, true);
    };
    for (std::size_t i = 0; i < alignment.units.size(); ++i) {
        insertedBefore(i);
        const UnitCopy& copy = alignment.units[i];
        append(marks.wrongTyped, copy.writtenAs, copy.copy != Copy::copied);
        append(marks.missed, copy.unit.written, copy.copy != Copy::copied);
    }
    insertedBefore(alignment.units.size());
    return marks;
}

}  // namespace tessaly
