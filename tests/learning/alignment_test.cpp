#include "learning/alignment.h"
#include "learning/answer_marks.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace tessaly {
namespace {

// The alignment in typing order: "X" copied, "X>Y" written as Y, "X-" left out,
// "+T" typed but not read. Also gives back the answer the alignment accounts for.
std::string describe(const Alignment& a, std::string* answer = nullptr) {
    std::string text, typed;
    const auto add = [&](const std::string& item) { text += (text.empty() ? "" : " ") + item; };
    std::size_t next = 0;
    for (std::size_t i = 0; i <= a.units.size(); ++i) {
        for (; next < a.inserted.size() && a.inserted[next].beforeUnit == i; ++next) {
            add("+" + a.inserted[next].token);
            typed += a.inserted[next].token;
        }
        if (i == a.units.size()) break;
        const UnitCopy& u = a.units[i];
        typed += u.writtenAs;
        if (u.copy == Copy::copied) add(u.unit.name);
        if (u.copy == Copy::substituted) add(u.unit.name + ">" + u.writtenAs);
        if (u.copy == Copy::omitted) add(u.unit.name + "-");
    }
    if (next != a.inserted.size()) text += " (insertions out of order)";
    if (answer) *answer = typed;
    return text;
}

std::string expectedCopy(const std::vector<ReadUnit>& units) {
    std::string copy;
    for (const ReadUnit& u : units) copy += u.written;
    return copy;
}

TEST(Alignment, TrickyPairs) {
    struct Case { const char* line; const char* answer; const char* alignment; } cases[] = {
        {"BA4XY", "BA4XY", "B A 4 X Y"},
        {"BA4XY", "BA4Y", "B A 4 X- Y"},
        {"BA4XY", "BA4YX", "B A 4 X>Y Y>X"},                 // a swap is two substitutions, not a gap pair
        {"JA1ABC/m", "J1A1BAC/M", "J +1 A 1 A>B B>A C / MOBILE"},  // still a swap beside an extra 1
        {"BA4XY", "BA4XY/P", "B A 4 X Y +/ +P"},             // extra suffix
        {"JA1ABC/m", "JA1ABC", "J A 1 A B C /- MOBILE-"},    // missing suffix
        {"G4ABC/q", "G4ABC/M", "G 4 A B C / QRP>M"},         // wrong suffix word
        {"BA4XY", "", "B- A- 4- X- Y-"},
        {"", "K1", "+K +1"},
        {"DL2XY", "DL22XY", "D L 2 +2 X Y"},                 // longer in the middle
        {"DL2XY", "DL2QXY", "D L 2 +Q X Y"},
        {"JA1ABC/m", "JA1ABC/M", "J A 1 A B C / MOBILE"},
        {"W1AW/mm", "W1AW/MM", "W 1 A W / MOBILE MOBILE"},
        {"W1AW/mm", "W1AW/M", "W 1 A W / MOBILE MOBILE-"},
        {"G4ABC/q", "G4ABC/QRP", "G 4 A B C / QRP"},         // QRP is one token for a QRP unit
        {"G4ABC/q", "G4ABC/QR", "G 4 A B C / QRP>Q +R"},
        {"G4ABC/q", "G4ABC/", "G 4 A B C / QRP-"},
        {"K1ABC/P", "K1ABC/QRP", "K 1 A B C / +Q +R P"},     // but only for a QRP unit
        {"G4ABC", "G4ABC/QRP", "G 4 A B C +/ +Q +R +P"},
        {"BA4XY", "B\xC3\x84" "4XY", "B A>\xC3\x84 4 X Y"},  // one character, though two bytes
        {"BA4XY", "BA4, \"XY", "B A 4 +, +  +\" X Y"},
    };
    for (const Case& c : cases) {
        const auto units = unitsRead(c.line);
        const Alignment a = align(c.answer, units);
        std::string typed;
        EXPECT_EQ(describe(a, &typed), c.alignment) << c.line << " / " << c.answer;
        EXPECT_EQ(typed, c.answer) << "every token of the answer is accounted for";
        EXPECT_EQ(a.edits() == 0, c.answer == expectedCopy(units)) << c.line << " / " << c.answer;
    }
}

// Answers made from lines by a known number of random edits: the alignment never
// needs more edits than were made, and always accounts for the whole answer.
TEST(Alignment, NeverWorseThanTheEditsThatMadeTheAnswer) {
    std::mt19937 random(20240501);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";
    const char* suffixes[] = {"", "/m", "/mm", "/q", "/P", "/7"};
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int trial = 0; trial < 2000; ++trial) {
        std::string line;
        for (int k = 2 + pick(5); k > 0; --k) line += alphabet[pick(36)];
        line += suffixes[pick(6)];
        const auto units = unitsRead(line);
        // Edits of whole tokens: "QRP" is one, as for the alignment.
        std::vector<std::string> tokens;
        for (const ReadUnit& u : units) tokens.push_back(u.written);
        const int edits = pick(4);
        for (int k = 0; k < edits; ++k) {
            const auto at = static_cast<std::size_t>(pick(static_cast<int>(tokens.size()) + 1));
            const std::string c(1, alphabet[pick(37)]);
            switch (at == tokens.size() ? 0 : pick(3)) {
                case 0: tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(at), c); break;
                case 1: tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(at)); break;
                default: tokens[at] = c; break;
            }
        }
        std::string answer;
        for (const std::string& t : tokens) answer += t;
        const Alignment a = align(answer, units);
        std::string typed;
        describe(a, &typed);
        ASSERT_EQ(typed, answer) << line;
        ASSERT_LE(a.edits(), edits) << line << " / " << answer;
        ASSERT_EQ(a.units.size(), units.size());
        for (std::size_t i = 0; i < units.size(); ++i) ASSERT_EQ(a.units[i].unit, units[i]);
    }
}

// Past the bounds the table stays small: what is beyond is left out or inserted
// at the end, and the alignment still accounts for every unit and character.
TEST(Alignment, BoundsTheWorkOnLongInput) {
    struct Case {
        std::size_t units, characters;
    } cases[] = {{20000, 20000}, {kMostAlignedUnits + 1, 3}, {3, kMostAlignedCharacters + 1}, {0, 40000}, {40000, 0}};
    for (const Case& c : cases) {
        const std::vector<ReadUnit> units(c.units, *unitNamed("A"));
        const Alignment a = align(std::string(c.characters, 'A'), units);
        ASSERT_EQ(a.units.size(), c.units);
        std::string typed;
        describe(a, &typed);
        EXPECT_EQ(typed, std::string(c.characters, 'A')) << c.units << " " << c.characters;
        const std::size_t aligned = std::min({c.units, c.characters, kMostAlignedUnits, kMostAlignedCharacters});
        EXPECT_EQ(static_cast<std::size_t>(a.edits()), c.units + c.characters - 2 * aligned);
    }
}

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
