#include "learning/results_csv.h"

#include "base/utf8.h"
#include "learning/csv.h"

#include <algorithm>

namespace tessaly {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// True when nothing but empty lines follows (the reader is moved past them).
bool blankToTheEnd(CsvReader& reader) {
    std::vector<std::string> fields;
    for (;;) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::end) return true;
        if (result == CsvReader::Result::error || fields.size() != 1 || !fields[0].empty()) return false;
    }
}

}  // namespace

std::string resultsCsv(const PracticeRecord& record) {
    std::string out = std::string(kResultsHeader) + "\r\n";
    appendResultsRows(out, record);
    return out;
}

bool parseResultsCsv(std::string_view text, std::vector<PracticeRecord>& out, std::string& error) {
    if (const std::size_t bad = invalidUtf8At(text); bad != std::string_view::npos) {
        error = "line " + std::to_string(1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bad), '\n')) +
                ": not UTF-8 text";
        return false;
    }
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

    ResultsRowReader rows(latestRecordDate());
    // No row has more fields than the longest header: a line of thousands of commas
    // is refused as it is read, not split.
    CsvReader reader(text, 4 * kResultsColumns);
    std::vector<std::string> fields;
    std::size_t columns = 0;  // of the last header; 0 before the first
    const auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(reader.line()) + ": " + what;
        return false;
    };
    for (;;) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::end) break;
        if (result == CsvReader::Result::error) {
            error = reader.error();
            return false;
        }
        if (const std::size_t announced = resultsHeaderColumns(fields); announced != 0) {
            columns = announced;
            continue;
        }
        if (fields.size() == 1 && fields[0].empty()) {
            const int blankLine = reader.line();
            if (blankToTheEnd(reader)) break;  // empty lines at the end, as an editor may leave
            error = "line " + std::to_string(blankLine) + ": " +
                    (columns ? std::string("an empty line") : std::string("expected the header ") + kResultsHeader);
            return false;
        }
        if (columns == 0) return fail(std::string("expected the header ") + kResultsHeader);
        if (fields.size() != columns)
            return fail("expected " + std::to_string(columns) + " fields, found " + std::to_string(fields.size()));
        if (const std::string problem = rows.add(fields, columns); !problem.empty()) return fail(problem);
    }
    if (columns == 0) {
        error = std::string("line 1: expected the header ") + kResultsHeader;
        return false;
    }
    out.insert(out.end(), std::make_move_iterator(rows.practices().begin()),
               std::make_move_iterator(rows.practices().end()));
    return true;
}

}  // namespace tessaly
