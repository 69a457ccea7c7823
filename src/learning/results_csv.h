#pragma once
// Results files: one practice per file, one row per callsign read, for a
// spreadsheet, a script or `tessaly stats` to read back.
//
// Written as UTF-8 without a byte order mark, lines ending in CR LF as RFC 4180
// asks (spreadsheets everywhere read it, and the practice text uses CR LF too).
// No mark, so that files joined with `cat` stay one valid text; one written back
// by a spreadsheet with a mark is read all the same.
#include "learning/practice_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// What a row may hold: an answer (and the expected copy) of at most this many
// characters, a `read` column of at most this many units.
constexpr std::size_t kLongestAnswer = 200;
constexpr std::size_t kMostReadUnits = 32;

// The header line's fields, in order.
extern const char* const kResultsHeader;

// The record as a results file. `read` spells out the units spoken ("J A 1 A B C
// / MOBILE"), so no lower-case code is needed to know what was heard; characters
// that are not read are not in it. A record without rows is the header alone.
std::string resultsCsv(const PracticeRecord& record);

// Reads the contents of one results file, or of several joined (each may begin
// with its header again, after a byte order mark or not), and appends the
// practices found, rows grouped by date, time and settings, in order of first
// appearance. On anything else returns false, leaves `out` as it was and sets
// `error`, naming the line: "line 3: expected 11 fields, found 9". Empty lines at
// the end are let be.
bool parseResultsCsv(std::string_view text, std::vector<PracticeRecord>& out, std::string& error);

}  // namespace tessaly
