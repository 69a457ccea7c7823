#include "learning/read_units.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

std::string joinedWritten(const std::vector<ReadUnit>& units) {
    std::string copy;
    for (const ReadUnit& unit : units) copy += unit.written;
    return copy;
}

TEST(ReadUnits, EachLineIsSpokenAndCopiedUnitByUnit) {
    struct Case {
        const char* line;
        const char* spoken;
        const char* expectedCopy;  // what the marking takes as the right answer
    } cases[] = {
        {"BA4XY", "B A 4 X Y", "BA4XY"},
        {"JA1ABC/m", "J A 1 A B C / MOBILE", "JA1ABC/M"},
        {"W1AW/mm", "W 1 A W / MOBILE MOBILE", "W1AW/MM"},
        {"K1ABC/P", "K 1 A B C / P", "K1ABC/P"},
        {"DL2XY/7", "D L 2 X Y / 7", "DL2XY/7"},
        {"G4ABC/q", "G 4 A B C / QRP", "G4ABC/QRP"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const auto units = unitsRead(c.line);
        EXPECT_EQ(joinedWritten(units), c.expectedCopy) << c.line;
        EXPECT_EQ(spokenUnits(c.line), c.spoken) << c.line;
        EXPECT_EQ(lineFromSpoken(c.spoken), std::string(c.line)) << c.line;
    }
}

TEST(ReadUnits, FirstUnitsIsWhatWasSpokenOfALineStoppedMidway) {
    struct Case { const char* line; std::size_t count; const char* spoken; } cases[] = {
        {"KV7KBH", 0, ""},       {"KV7KBH", 1, "K"},       {"KV7KBH", 3, "KV7"},
        {"KV7KBH", 6, "KV7KBH"}, {"KV7KBH", 9, "KV7KBH"},  {"JA1ABC/m", 7, "JA1ABC/"},
        {"JA1ABC/m", 8, "JA1ABC/m"}, {"G4ABC/q", 7, "G4ABC/q"}, {"", 2, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(firstUnits(c.line, c.count), c.spoken) << c.line << " " << c.count;
}

TEST(ReadUnits, CharactersWithoutAClipAreNotRead) {
    EXPECT_EQ(spokenUnits("K1 abc"), "K 1");
    EXPECT_EQ(unitsRead("x\r"), std::vector<ReadUnit>{});
}

TEST(ReadUnits, OnlyUnitNamesSeparatedBySingleSpacesGiveALine) {
    for (const char* bad : {"m", "q", "j", "J  A", " J", "J ", "MOBILEX", "MOBIL", "QRPP", "J,A", "Ä"})
        EXPECT_EQ(lineFromSpoken(bad), std::nullopt) << bad;
    EXPECT_EQ(unitNamed("m"), std::nullopt);
    EXPECT_EQ(unitNamed("MOBILE"), (ReadUnit{"MOBILE", "M"}));
}

TEST(ReadUnits, FixedOrderIsLettersDigitsSlashThenWords) {
    const std::vector<std::string> order = {"A", "Z", "0", "9", "/", "MOBILE", "QRP", "?"};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(unitRank(order[i - 1]), unitRank(order[i])) << order[i - 1] << " before " << order[i];
}

}  // namespace
}  // namespace tessaly
