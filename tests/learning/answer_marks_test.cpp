#include "learning/answer_marks.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaly {
namespace {

// Marks as text: '^' under a wrong character, '.' under a right one.
std::string shown(const std::vector<bool>& marks) {
    std::string text;
    for (const bool wrong : marks) text += wrong ? '^' : '.';
    return text;
}

TEST(AnswerMarks, ShowTheWrongCharactersOfTheAnswerAndTheMissedOnesOfTheCopy) {
    struct Case {
        const char* answer;
        const char* line;
        const char* wrongTyped;  // under the answer
        const char* missed;      // under the expected copy
    } cases[] = {
        {"BA4XY", "BA4XY", ".....", "....."},
        {"BA4XV", "BA4XY", "....^", "....^"},           // written as another
        {"BA4Y", "BA4XY", "....", "...^."},             // left out
        {"BA44XY", "BA4XY", "...^..", "....."},         // typed but never read
        {"AB4XY", "BA4XY", "^^...", "^^..."},           // a swapped pair: two substitutions
        {"G4ABC/QRP", "G4ABC/q", ".........", "........."},  // QRP copies one unit
        {"G4ABC/Q", "G4ABC/q", "......^", "......^^^"},
        {"JA1ABC/M", "JA1ABC/m", "........", "........"},
        {"", "BA4XY", "", "^^^^^"},
        {"X", "", "^", ""},
        {"BÄ4XY", "BA4XY", ".^...", ".^..."},           // one mark per character, not per byte
    };
    for (const Case& c : cases) {
        const AnswerMarks marks = answerMarks(c.answer, c.line);
        EXPECT_EQ(shown(marks.wrongTyped), c.wrongTyped) << c.answer << " for " << c.line;
        EXPECT_EQ(shown(marks.missed), c.missed) << c.answer << " for " << c.line;
    }
}

}  // namespace
}  // namespace tessaly
