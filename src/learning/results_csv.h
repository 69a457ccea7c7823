#pragma once
// Results files: one practice per file, one row per callsign read, for a
// spreadsheet, a script or `tessaly stats` to read back.
//
// Written as UTF-8 without a byte order mark, lines ending in CR LF as RFC 4180
// asks (spreadsheets everywhere read it, and the practice text uses CR LF too).
// No mark, so that files joined with `cat` stay one valid text; one written back
// by a spreadsheet with a mark is read all the same.
//
// The columns (results_rows.h): number, answer, expected, mark, date, time, words,
// speed, noise, conditions, read; then snr (dB the callsign was read at, empty
// without an SNR), threshold and threshold_se (dB, on every row of a marked
// threshold run), path, passband, agc, seconds (how long the practice ran) and
// practice_id (the practice's own name, results_rows.h), speaker, digits, a
// pile-up's round, level_db, offset_ms, outcome and calls, and threshold_method
// ("characters", or empty for a whole-callsign threshold) and threshold_whole (dB).
// Files with the first eleven, eighteen, nineteen or twenty-six only, from before,
// are read as well.
#include "learning/practice_record.h"
#include "learning/results_rows.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The record as a results file. `read` spells out the units spoken ("J A 1 A B C
// / MOBILE"), so no lower-case code is needed to know what was heard; characters
// that are not read are not in it. A record without rows is the header alone.
std::string resultsCsv(const PracticeRecord& record);

// Reads the contents of one results file, or of several joined (each may begin
// with its header again, after a byte order mark or not, and old and new headers
// may follow each other), and appends the practices found, rows grouped by
// practice id (by date, time and settings in files from before), in order of
// first appearance. On anything else returns
// false, leaves `out` as it was and sets `error`, naming the line: "line 3:
// expected 18 fields, found 9". Empty lines at
// the end are let be.
bool parseResultsCsv(std::string_view text, std::vector<PracticeRecord>& out, std::string& error);

}  // namespace tessaly
