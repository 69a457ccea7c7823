#include "learning/results_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

const std::string kHeader = std::string(kResultsHeader) + "\r\n";

PracticeRecord practice(const char* date, const char* time, std::vector<PracticeRow> rows) {
    return {date, time, "standard", "5", "S2", {"qrn", "qsb"}, std::move(rows)};
}

TEST(ResultsCsv, WritesOneQuotedRowPerCallsign) {
    const PracticeRecord record{"2024-05-01", "09:05:00", "exam", "random", "off", {},
                                {{1, "JA1ABC/M", "JA1ABC/M", true, "JA1ABC/m"}, {2, "G4A,\"C", "G4ABC/QRP", false, "G4ABC/q"}}};
    EXPECT_EQ(resultsCsv(record), kHeader +
                                      "1,JA1ABC/M,JA1ABC/M,Y,2024-05-01,09:05:00,exam,random,off,,J A 1 A B C / MOBILE\r\n"
                                      "2,\"G4A,\"\"C\",G4ABC/QRP,N,2024-05-01,09:05:00,exam,random,off,,G 4 A B C / QRP\r\n");
}

TEST(ResultsCsv, RoundTripKeepsEveryRecord) {
    const std::vector<PracticeRecord> records = {
        practice("2024-05-01", "21:30:59",
                 {{1, "BA4XY", "BA4XY", true, "BA4XY"},
                  {2, "W1AW,MM", "W1AW/MM", false, "W1AW/mm"},        // comma
                  {3, "\"K1ABC\"", "K1ABC/P", false, "K1ABC/P"},      // quotes
                  {4, "DL2\r\nXY\n7", "DL2XY/7", false, "DL2XY/7"},   // line ends inside
                  {5, "\xC3\x84" "A1\xE4\xB8\x80", "JA1ABC", false, "JA1ABC"},  // non-ASCII
                  {6, "", "G4ABC/QRP", false, "G4ABC/q"},
                  {7, " G4ABC ", "G4ABC", false, "G4ABC"}}),
        {"2024-12-31", "00:00:00", "mixed", "10", "random", {"vary-tone", "qrm", "vary-noise", "vary-speed"},
         {{12, "K1", "K1", true, "K1"}}},
    };
    std::string text;
    for (const PracticeRecord& r : records) text += resultsCsv(r);  // files joined, each with its header

    std::vector<PracticeRecord> back;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(text, back, error)) << error;
    EXPECT_EQ(back, records);
}

TEST(ResultsCsv, ToleratesByteOrderMarksLineFeedsAndRowsOfOnePracticeApart) {
    const PracticeRecord a = practice("2024-05-01", "10:00:00", {{1, "BA4XY", "BA4XY", true, "BA4XY"}});
    const PracticeRecord b = practice("2024-05-02", "10:00:00", {{1, "K1", "K2", false, "K2"}});
    std::string lf = resultsCsv(a) + resultsCsv(b).substr(kHeader.size()) +
                     "2,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,qrn qsb,B A 4 X Y";  // no final line end
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.replace(at, 2, "\n");

    std::vector<PracticeRecord> back;
    std::string error;
    ASSERT_TRUE(parseResultsCsv("\xEF\xBB\xBF" + lf + "\r\n\xEF\xBB\xBF" + kHeader, back, error)) << error;
    PracticeRecord both = a;
    both.rows.push_back({2, "BA4XY", "BA4XY", true, "BA4XY"});
    EXPECT_EQ(back, (std::vector<PracticeRecord>{both, b}));

    back.clear();
    ASSERT_TRUE(parseResultsCsv(resultsCsv(practice("2024-05-01", "10:00:00", {})), back, error)) << error;
    EXPECT_TRUE(back.empty()) << "a practice without rows is only a header";
}

TEST(ResultsCsv, RefusesAnythingElseNamingTheLine) {
    const std::string row = "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y\r\n";
    // The row with one field replaced.
    const auto with = [&](int index, const std::string& value) {
        std::string text = row;
        std::size_t start = 0;
        for (int i = 0; i < index; ++i) start = text.find(',', start) + 1;
        const std::size_t end = index == 10 ? text.size() - 2 : text.find(',', start);
        return kHeader + text.replace(start, end - start, value);
    };
    struct Case {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "line 1: expected the header number,answer,expected,mark,date,time,words,speed,noise,conditions,read"},
        {row + kHeader, "line 1: expected the header number,answer,expected,mark,date,time,words,speed,noise,conditions,read"},
        {kHeader + "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2\r\n", "line 2: expected 11 fields, found 9"},
        {kHeader + row + "\r\n" + row, "line 3: an empty line"},
        {kHeader + "1,\"DL2\r\nXY\",x,Y,2024-05-01,10:00:00,standard,5,S2,,D\r\n" + row.substr(0, 20),
         "line 4: expected 11 fields, found 5"},  // lines counted inside the quoted field
        {with(0, "0"), "line 2: number must be a whole number from 1, found \"0\""},
        {with(0, "-1"), "line 2: number must be a whole number from 1, found \"-1\""},
        {with(3, "y"), "line 2: mark must be Y or N, found \"y\""},
        {with(4, "2024-02-30"), "line 2: date must be a day as YYYY-MM-DD, found \"2024-02-30\""},
        {with(4, "2024-5-01"), "line 2: date must be a day as YYYY-MM-DD, found \"2024-5-01\""},
        {with(5, "24:00:00"), "line 2: time must be HH:MM:SS, found \"24:00:00\""},
        {with(6, "Standard"), "line 2: words must be exam, standard, places, other or mixed, found \"Standard\""},
        {with(7, "11"), "line 2: speed must be 0 to 10 or random, found \"11\""},
        {with(8, "S6"), "line 2: noise must be off, S1 to S5, random or snr, found \"S6\""},
        {with(9, "qrn  qsb"), "line 2: conditions must be different ones of qrn qrm qsb vary-noise vary-speed vary-tone, "
                              "separated by single spaces, found \"qrn  qsb\""},
        {with(9, "qrn qrn"), "line 2: conditions must be different ones of qrn qrm qsb vary-noise vary-speed vary-tone, "
                             "separated by single spaces, found \"qrn qrn\""},
        {with(10, "B A m"), "line 2: read must be unit names separated by single spaces, found \"B A m\""},
        {kHeader + row + row, "line 3: row 1 of the practice of 2024-05-01 10:00:00 is there twice"},
        {kHeader + "1,\"BA4XY,BA4XY", "line 2: a quoted field is not closed"},
        {kHeader + "1,\"BA4\"XY,BA4XY", "line 2: text after a closing quote"},
        {kHeader + "1,BA4\"XY,BA4XY", "line 2: a quote inside an unquoted field"},
        {kHeader + "1,BA4XY\rBA4XY", "line 2: a carriage return without a line feed"},
        {kHeader + row + "1,BA4\xC3", "line 3: not UTF-8 text"},
        // Past what a practice holds: refused at once, with the line.
        {with(1, std::string(20000, 'A')), "line 2: answer is longer than 200 characters"},
        {with(2, std::string(201, 'A')), "line 2: expected is longer than 200 characters"},
        {with(10, [] {
             std::string units = "A";
             for (int i = 0; i < 20000; ++i) units += " B";
             return units;
         }()),
         "line 2: read has 20001 units, more than 32"},
        {kHeader + row + std::string(100000, ','), "line 3: more than 44 fields"},
        {kHeader + row + "\r\n\r\n" + row, "line 3: an empty line"},
        {"\r\n" + kHeader + row, "line 1: expected the header number,answer,expected,mark,date,time,words,speed,noise,conditions,read"},
        {"\xEF\xBB\xBF" + row, "line 1: expected the header number,answer,expected,mark,date,time,words,speed,noise,conditions,read"},
    };
    for (const Case& c : cases) {
        std::vector<PracticeRecord> out = {practice("2024-01-01", "00:00:00", {})};
        std::string error;
        EXPECT_FALSE(parseResultsCsv(c.text, out, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(out.size(), 1u) << "nothing is added from a file refused";
    }
}

// Empty lines at the end (an editor's) are let be; within the rows they are not.
TEST(ResultsCsv, TakesEmptyLinesAtTheEnd) {
    const std::string row = "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y\r\n";
    for (const std::string& end : {std::string("\r\n"), std::string("\n\n\n"), std::string("\r\n\r\n")}) {
        std::vector<PracticeRecord> out;
        std::string error;
        EXPECT_TRUE(parseResultsCsv(kHeader + row + end, out, error)) << error;
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].rows.size(), 1u);
    }
}

// The check for a row given twice is one look-up a row, not a search.
TEST(ResultsCsv, ReadsALargeFileInTimeProportionalToIt) {
    std::string text = kHeader;
    for (int i = 1; i <= 30000; ++i)
        text += std::to_string(i) + ",BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y\r\n";
    std::vector<PracticeRecord> out;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(text, out, error)) << error;
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].rows.size(), 30000u);
}

}  // namespace
}  // namespace tessaly
