#pragma once
// The rows of a results file, one callsign each, as both the results files and the
// learning record write and read them. Files from before the SNR came have the
// first eleven columns only; both kinds are read.
#include "learning/practice_record.h"

#include <cstddef>
#include <map>
#include <unordered_set>
#include <string>
#include <tuple>
#include <vector>

namespace tessaly {

// The header line's fields, in order: every column as written now.
extern const char* const kResultsHeader;
// The columns of files written before the SNR came (the first eleven).
extern const char* const kResultsHeaderBefore;
// What a row may hold: an answer (and the expected copy) of at most this many
// characters, a `read` column of at most this many units.
constexpr std::size_t kLongestAnswer = 200;
constexpr std::size_t kMostReadUnits = 32;

constexpr std::size_t kResultsColumns = 18;
constexpr std::size_t kResultsColumnsBefore = 11;

// The rows of one practice, each with its line end (CR LF), without a header.
void appendResultsRows(std::string& out, const PracticeRecord& record);

// The number of columns a header announces (kResultsColumns or
// kResultsColumnsBefore); 0 when the fields are not a header. A byte order mark
// before the first field is allowed.
std::size_t resultsHeaderColumns(std::vector<std::string> fields);

// One data row read against a header of `columns` columns (its field count is
// checked by the caller): the row, and its practice's settings without rows. ""
// or what is wrong: "mark must be Y or N, found \"y\"".
std::string parseResultsRow(const std::vector<std::string>& fields, std::size_t columns, PracticeRecord& practice,
                            PracticeRow& row);

// Rows gathered into practices: rows with the same date, time and settings are one
// practice, in order of first appearance.
class PracticeGrouping {
public:
    // "" or what is wrong (the same row number twice in one practice).
    std::string add(PracticeRecord practice, PracticeRow row);
    std::vector<PracticeRecord>& practices() { return found_; }

private:
    using Key = std::tuple<std::string, std::string, std::string, std::string, std::string, std::vector<std::string>,
                           std::string, std::string, std::string, bool, std::string, int>;
    std::vector<PracticeRecord> found_;
    std::map<Key, std::size_t> practiceOf_;
    std::vector<std::unordered_set<int>> numbersOf_;  // each practice's row numbers
};

}  // namespace tessaly
