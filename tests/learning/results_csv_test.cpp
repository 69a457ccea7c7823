#include "learning/results_csv.h"

#include "base/practice_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace tessaly {
namespace {

const std::string kHeader = std::string(kResultsHeader) + "\r\n";
const std::string kOldHeader = std::string(kResultsHeaderBefore) + "\r\n";
const std::string kExpectHeader = "line 1: expected the header " + std::string(kResultsHeader);

PracticeRecord practice(const char* date, const char* time, std::vector<PracticeRow> rows) {
    return {date, time, "standard", "5", "S2", {"qrn", "qsb"}, std::move(rows)};
}

TEST(ResultsCsv, WritesOneQuotedRowPerCallsignWithTheAdditionsLast) {
    PracticeRecord record{"2024-05-01", "09:05:00", "exam", "random", "off", {},
                          {{1, "JA1ABC/M", "JA1ABC/M", true, "JA1ABC/m"}, {2, "G4A,\"C", "G4ABC/QRP", false, "G4ABC/q"}}};
    EXPECT_EQ(resultsCsv(record), kHeader +
                                      "1,JA1ABC/M,JA1ABC/M,Y,2024-05-01,09:05:00,exam,random,off,,J A 1 A B C / MOBILE,,,,off,off,off,0,,,set,,,,,,,\r\n"
                                      "2,\"G4A,\"\"C\",G4ABC/QRP,N,2024-05-01,09:05:00,exam,random,off,,G 4 A B C / QRP,,,,off,off,off,0,,,set,,,,,,,\r\n");
    // A threshold run: each row its SNR, every row the threshold.
    record.noise = "snr";
    record.rows[0].snrDb = 6;
    record.rows[1].snrDb = -3.24;  // written to a tenth of a dB
    record.thresholdDb = -3.5;
    record.thresholdSe = 0.8;
    record.path = "mid-quiet";
    record.id = "a1b2c3d4e5f60718";
    record.passband = true;
    record.agc = "slow";
    record.seconds = 185;
    EXPECT_EQ(resultsCsv(record), kHeader +
                                      "1,JA1ABC/M,JA1ABC/M,Y,2024-05-01,09:05:00,exam,random,snr,,J A 1 A B C / MOBILE,6,-3.5,0.8,mid-quiet,on,slow,185,a1b2c3d4e5f60718,,set,,,,,,,\r\n"
                                      "2,\"G4A,\"\"C\",G4ABC/QRP,N,2024-05-01,09:05:00,exam,random,snr,,G 4 A B C / QRP,-3.2,-3.5,0.8,mid-quiet,on,slow,185,a1b2c3d4e5f60718,,set,,,,,,,\r\n");
}

TEST(ResultsCsv, SettingsInTheVocabularysWords) {
    PracticeSettings settings;
    settings.words = WordSet::Places;
    settings.conditions = kQrm | kVarySpeed;
    settings.snrDb = -2;
    settings.path = "high-quiet";
    settings.passband = true;
    settings.agc = "medium";
    PracticeRecord record{"2024-05-01", "09:05:00", "", "", "", {}, {{1, "K1", "K1", true, "K1", -2.0}}};
    setRecordSettings(record, settings);
    EXPECT_EQ(resultsCsv(record), kHeader + "1,K1,K1,Y,2024-05-01,09:05:00,places,random,snr,qrm vary-speed,K 1,-2,,,high-quiet,on,medium,0,,,set,,,,,,,\r\n");
}

TEST(ResultsCsv, RoundTripKeepsEveryRecord) {
    PracticeRecord threshold = {"2024-12-31", "00:00:00", "mixed", "10", "snr", {"vary-tone", "qrm", "vary-speed"},
                                {{1, "K1", "K1", true, "K1", 6.0}, {2, "K2", "K3", false, "K3", 2.0}, {3, "K4", "K4", true, "K4", 4.0}}};
    threshold.thresholdDb = -12.5;
    threshold.thresholdSe = 1.4;
    threshold.passband = true;
    threshold.agc = "fast";
    threshold.seconds = 61;
    // A pile-up in the figure code words, each caller in a speaker's voice.
    PracticeRecord pileup = practice("2024-06-02", "08:00:00", {{1, "K1A", "K1A", true, "K1A", std::nullopt, "awb", 1, -6.5, 230, "worked", 2},
                                                                {2, "K1AB", "W9Z", false, "W9Z", std::nullopt, "slt", 1, 0, 0, "busted", 4}});
    pileup.figures = true;
    const std::vector<PracticeRecord> records = {
        practice("2024-05-01", "21:30:59",
                 {{1, "BA4XY", "BA4XY", true, "BA4XY"},
                  {2, "W1AW,MM", "W1AW/MM", false, "W1AW/mm"},        // comma
                  {3, "\"K1ABC\"", "K1ABC/P", false, "K1ABC/P"},      // quotes
                  {4, "DL2\r\nXY\n7", "DL2XY/7", false, "DL2XY/7"},   // line ends inside
                  {5, "\xC3\x84" "A1\xE4\xB8\x80", "JA1ABC", false, "JA1ABC"},  // non-ASCII
                  {6, "", "G4ABC/QRP", false, "G4ABC/q"},
                  {7, " G4ABC ", "G4ABC", false, "G4ABC"}}),
        threshold,
        pileup,
    };
    std::string text;
    for (const PracticeRecord& r : records) text += resultsCsv(r);  // files joined, each with its header

    std::vector<PracticeRecord> back;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(text, back, error)) << error;
    EXPECT_EQ(back, records);
}

// What the writer writes, the reader reads back, at and past every bound the
// reader checks; and a cell a spreadsheet would take for a formula is written as text.
TEST(ResultsCsv, TheReaderTakesBackWhatTheWriterWritesAtEveryBound) {
    struct Case {
        const char* what;
        std::function<void(PracticeRecord&)> set;
        std::function<void(PracticeRecord&)> expect;  // the record as read back
        const char* written = "";                     // a part of the file's text
    } cases[] = {
        {"an answer of 300 characters", [](PracticeRecord& p) { p.rows[0].answer = std::string(300, 'A'); },
         [](PracticeRecord& p) { p.rows[0].answer = std::string(200, 'A'); }},
        {"a byte of no UTF-8", [](PracticeRecord& p) { p.rows[0].answer = "K\xff"; },
         [](PracticeRecord& p) { p.rows[0].answer = "K\xEF\xBF\xBD"; }},
        {"a formula", [](PracticeRecord& p) { p.rows[0].answer = "=1+1"; }, {}, ",'=1+1,"},
        {"a plus", [](PracticeRecord& p) { p.rows[0].answer = "+K1"; }, {}, ",'+K1,"},
        {"a minus", [](PracticeRecord& p) { p.rows[0].answer = "-K1"; }, {}, ",'-K1,"},
        {"an at", [](PracticeRecord& p) { p.rows[0].answer = "@K1"; }, {}, ",'@K1,"},
        {"an apostrophe", [](PracticeRecord& p) { p.rows[0].answer = "'K1"; }, {}, ",''K1,"},
        {"11,000,000 seconds", [](PracticeRecord& p) { p.seconds = 11'000'000; },
         [](PracticeRecord& p) { p.seconds = kMostSeconds; }},
        {"dB past the range", [](PracticeRecord& p) { p.rows[0].snrDb = 100, p.thresholdDb = -100, p.thresholdSe = 99; },
         [](PracticeRecord& p) { p.rows[0].snrDb = 60, p.thresholdDb = -60, p.thresholdSe = 60; }},
        {"dB that is no number", [](PracticeRecord& p) { p.rows[0].snrDb = std::numeric_limits<double>::quiet_NaN(); },
         [](PracticeRecord& p) { p.rows[0].snrDb.reset(); }},
        {"40 units read", [](PracticeRecord& p) { p.rows[0].line = std::string(40, 'K'); },
         [](PracticeRecord& p) { p.rows[0].line = std::string(kMostReadUnits, 'K'); }},
        {"an id", [](PracticeRecord& p) { p.id = newPracticeId(); }, {}},
    };
    for (const Case& c : cases) {
        PracticeRecord written = practice("2024-05-01", "10:00:00", {{1, "K1", "K1", true, "K1"}});
        c.set(written);
        PracticeRecord expected = written;
        if (c.expect) c.expect(expected);
        const std::string text = resultsCsv(written);
        EXPECT_NE(text.find(c.written), std::string::npos) << c.what << ": " << text;
        std::vector<PracticeRecord> back;
        std::string error;
        ASSERT_TRUE(parseResultsCsv(text, back, error)) << c.what << ": " << error;
        EXPECT_EQ(back, std::vector<PracticeRecord>{expected}) << c.what;
    }
}

TEST(ResultsCsv, ReadsFilesFromBeforeTheAdditionsAloneAndJoinedWithNewOnes) {
    const std::string old = kOldHeader + "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,qrn qsb,B A 4 X Y\r\n"
                                         "2,K1,K2,N,2024-05-01,10:00:00,standard,5,S2,qrn qsb,K 2\r\n";
    const PracticeRecord oldPractice = practice("2024-05-01", "10:00:00", {{1, "BA4XY", "BA4XY", true, "BA4XY"}, {2, "K1", "K2", false, "K2"}});
    PracticeRecord newPractice = practice("2024-05-02", "10:00:00", {{1, "K1", "K1", true, "K1", -4.0}});
    newPractice.seconds = 30;

    std::vector<PracticeRecord> back;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(old, back, error)) << error;
    EXPECT_EQ(back, std::vector<PracticeRecord>{oldPractice}) << "the additions take the window's own values";

    // `cat new.csv old.csv new.csv`: each part read by its own header.
    back.clear();
    PracticeRecord later = newPractice;
    later.time = "11:00:00";
    ASSERT_TRUE(parseResultsCsv(resultsCsv(newPractice) + old + resultsCsv(later), back, error)) << error;
    EXPECT_EQ(back, (std::vector<PracticeRecord>{newPractice, oldPractice, later}));

    // Old rows under a new header (and new under old) are counted as they are.
    EXPECT_FALSE(parseResultsCsv(kHeader + old.substr(kOldHeader.size()), back, error));
    EXPECT_EQ(error, "line 2: expected 28 fields, found 11");
    EXPECT_FALSE(parseResultsCsv(kOldHeader + resultsCsv(newPractice).substr(kHeader.size()), back, error));
    EXPECT_EQ(error, "line 2: expected 11 fields, found 28");

    // Files from before the practice id: rows of one date, time and settings are one practice.
    back.clear();
    const std::string withoutId = std::string(kResultsHeaderWithoutId) + "\r\n" +
                                  "1,K1,K1,Y,2024-05-02,10:00:00,standard,5,S2,qrn qsb,K 1,-4,,,off,off,off,30\r\n";
    ASSERT_TRUE(parseResultsCsv(withoutId, back, error)) << error;
    EXPECT_EQ(back, std::vector<PracticeRecord>{newPractice});
}

TEST(ResultsCsv, ToleratesByteOrderMarksLineFeedsAndRowsOfOnePracticeApart) {
    const PracticeRecord a = practice("2024-05-01", "10:00:00", {{1, "BA4XY", "BA4XY", true, "BA4XY"}});
    const PracticeRecord b = practice("2024-05-02", "10:00:00", {{1, "K1", "K2", false, "K2"}});
    std::string lf = resultsCsv(a) + resultsCsv(b).substr(kHeader.size()) +
                     "2,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,qrn qsb,B A 4 X Y,,,,off,off,off,0,,,set,,,,,,,";  // no final line end
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
    const std::string row = "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y,,,,off,off,off,0,,,set,,,,,,,\r\n";
    // The row with one field replaced.
    const auto with = [&](int index, const std::string& value) {
        std::string text = row;
        std::size_t start = 0;
        for (int i = 0; i < index; ++i) start = text.find(',', start) + 1;
        const std::size_t end = index == 25 ? text.size() - 2 : text.find(',', start);
        return kHeader + text.replace(start, end - start, value);
    };
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"", kExpectHeader},
        {row + kHeader, kExpectHeader},
        {kHeader + "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2\r\n", "line 2: expected 28 fields, found 9"},
        {kHeader + row + "\r\n" + row, "line 3: an empty line"},
        {kHeader + "1,\"DL2\r\nXY\",x,Y,2024-05-01,10:00:00,standard,5,S2,,D,,,,off,off,off,0,,,set,,,,,,,\r\n" + row.substr(0, 20),
         "line 4: expected 28 fields, found 5"},  // lines counted inside the quoted field
        {with(0, "0"), "line 2: number must be a whole number from 1, found \"0\""},
        {with(0, "-1"), "line 2: number must be a whole number from 1, found \"-1\""},
        {with(3, "y"), "line 2: mark must be Y or N, found \"y\""},
        {with(4, "2024-02-30"), "line 2: date must be a day as YYYY-MM-DD, found \"2024-02-30\""},
        {with(4, "2024-5-01"), "line 2: date must be a day as YYYY-MM-DD, found \"2024-5-01\""},
        {with(4, "9999-12-31"), "line 2: date is in the future, found \"9999-12-31\""},
        {with(5, "24:00:00"), "line 2: time must be HH:MM:SS, found \"24:00:00\""},
        {with(6, "Standard"), "line 2: words must be exam, standard, places, other or mixed, found \"Standard\""},
        {with(7, "11"), "line 2: speed must be 0 to 10 or random, found \"11\""},
        {with(8, "S6"), "line 2: noise must be off, S1 to S5, random or snr, found \"S6\""},
        {with(9, "qrn  qsb"), "line 2: conditions must be different ones of qrn qrm qsb vary-noise vary-speed vary-tone, "
                              "separated by single spaces, found \"qrn  qsb\""},
        {with(9, "qrn qrn"), "line 2: conditions must be different ones of qrn qrm qsb vary-noise vary-speed vary-tone, "
                             "separated by single spaces, found \"qrn qrn\""},
        {with(10, "B A m"), "line 2: read must be unit names separated by single spaces, found \"B A m\""},
        {with(11, "61"), "line 2: snr must be empty or dB from -60 to 60, found \"61\""},
        {with(11, "1e1"), "line 2: snr must be empty or dB from -60 to 60, found \"1e1\""},
        {with(11, "off"), "line 2: snr must be empty or dB from -60 to 60, found \"off\""},
        {with(12, "-3.5"), "line 2: threshold and threshold_se must be given together"},
        {with(13, "-1"), "line 2: threshold_se must be empty or dB from 0 to 60, found \"-1\""},
        {with(14, ""), "line 2: path must be a preset's name or off, found \"\""},
        {with(14, "polar"), "line 2: path must be a preset's name or off, found \"polar\""},
        {with(15, "yes"), "line 2: passband must be on or off, found \"yes\""},
        {with(16, "Slow"), "line 2: agc must be off, fast, medium or slow, found \"Slow\""},
        {with(17, "-5"), "line 2: seconds must be a whole number of seconds, found \"-5\""},
        {with(17, ""), "line 2: seconds must be a whole number of seconds, found \"\""},
        {with(18, "a b"), "line 2: practice_id must be empty or 1 to 64 letters, digits, - or _, found \"a b\""},
        {with(18, "p1") + [&] {
             std::string other = with(18, "p1").substr(kHeader.size());
             return other.replace(other.find("10:00:00"), 8, "11:00:00");
         }(),
         "line 3: practice_id p1 is that of the practice of 2024-05-01 10:00:00"},
        {with(19, "nobody"), "line 2: speaker must be empty or one of awb, kal, rms, slt or slt-hts, found \"nobody\""},
        {with(20, "roman"), "line 2: digits must be set or figures, found \"roman\""},
        {with(21, "1"), "line 2: round and outcome must be given together"},
        {with(21, "1") .replace(with(21, "1").rfind(",,,,,,"), 6, ",-3,0,lost,,,"), "line 2: outcome must be worked, missed or busted, found \"lost\""},
        {with(26, "callsigns"), "line 2: threshold_method must be empty or characters, found \"callsigns\""},
        {with(26, "characters"), "line 2: threshold_method must be empty without a threshold"},
        {with(27, "x"), "line 2: threshold_whole must be empty or dB from -60 to 60, found \"x\""},
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
        {kHeader + row + std::string(100000, ','), "line 3: more than 112 fields"},
        {kHeader + row + "\r\n\r\n" + row, "line 3: an empty line"},
        {"\r\n" + kHeader + row, kExpectHeader},
        {"\xEF\xBB\xBF" + row, kExpectHeader},
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
    const std::string row = "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y,,,,off,off,off,0,,,set,,,,,,,\r\n";
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
        text += std::to_string(i) + ",BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y,,,,off,off,off,0,,,set,,,,,,,\r\n";
    std::vector<PracticeRecord> out;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(text, out, error)) << error;
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].rows.size(), 30000u);
}

}  // namespace
}  // namespace tessaly
