#pragma once
// The rows of a results file, one callsign each, as both the results files and the
// learning record write and read them. Files from before the SNR came have the
// first eleven columns only, those from before the practice id the first
// eighteen, those from before the threshold's method the first twenty-six; every
// kind is read.
//
// What the writer writes, the reader reads back: the writer keeps each value
// within the bounds the reader checks (an answer of at most kLongestAnswer
// characters of valid UTF-8, dB within their ranges, seconds below kMostSeconds).
// An answer or expected copy beginning with = + - @ (a formula to a spreadsheet),
// a tab, a CR or an apostrophe is written after one apostrophe, so that a
// spreadsheet shows it as text; the reader takes that apostrophe off again.
#include "learning/practice_record.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tessaly {

// The header line's fields, in order: every column as written now.
extern const char* const kResultsHeader;
// The columns of files written before the threshold's method came (the first twenty-six).
extern const char* const kResultsHeaderBeforeMethod;
// The columns of files written before the practice id came (the first eighteen).
extern const char* const kResultsHeaderWithoutId;
// The columns of files written before the SNR came (the first eleven).
extern const char* const kResultsHeaderBefore;
// What a row may hold: an answer (and the expected copy) of at most this many
// characters, a `read` column of at most this many units, a practice of at most
// this many seconds (115 days).
constexpr std::size_t kLongestAnswer = 200;
constexpr std::size_t kMostReadUnits = 32;
constexpr int kMostSeconds = 10'000'000;

constexpr std::size_t kResultsColumns = 28;
constexpr std::size_t kResultsColumnsBeforeMethod = 26;
constexpr std::size_t kResultsColumnsWithPracticeId = 19;
constexpr std::size_t kResultsColumnsWithoutId = 18;
constexpr std::size_t kResultsColumnsBefore = 11;

// The rows of one practice, each with its line end (CR LF), without a header.
void appendResultsRows(std::string& out, const PracticeRecord& record);

// The number of columns a header announces (one of the kResultsColumns*); 0 when
// the fields are not a header. A byte order mark before the first field is allowed.
std::size_t resultsHeaderColumns(const std::vector<std::string>& fields);

// Data rows read one after the other and gathered into practices: rows of one
// practice id are one practice; rows without an id (files from before) are one
// practice when they have the same date, time and settings. In order of first
// appearance. The rows of one practice share their settings columns, which are
// checked once for each run of them.
class ResultsRowReader {
public:
    // A date after `latestDate` ("YYYY-MM-DD", latestRecordDate()) is wrong.
    explicit ResultsRowReader(std::string latestDate) : latestDate_(std::move(latestDate)) {}

    // One data row against a header of `columns` columns (its field count checked
    // by the caller): "" or what is wrong ("mark must be Y or N, found \"y\"", the
    // same row number twice in one practice, an id another practice has); a wrong
    // row counts for nothing.
    std::string add(const std::vector<std::string>& fields, std::size_t columns);
    std::vector<PracticeRecord>& practices() { return found_; }

private:
    std::string addToPractice(std::size_t index, PracticeRow row);

    using Key = std::tuple<std::string, std::string, std::string, std::string, std::string, std::vector<std::string>,
                           std::string, std::string, std::string, bool, std::string, int>;
    std::string latestDate_;
    std::vector<PracticeRecord> found_;
    std::map<Key, std::size_t> practiceOf_;  // rows without an id
    std::unordered_map<std::string, std::size_t> practiceWithId_;
    std::vector<std::unordered_set<int>> numbersOf_;  // each practice's row numbers
    // The last row read whole: its settings columns and its practice.
    std::vector<std::string> settingsOfLast_;
    std::size_t columnsOfLast_ = 0;
    std::size_t practiceOfLast_ = 0;
};

}  // namespace tessaly
