#pragma once
// Comma-separated text as RFC 4180 has it: fields with a comma, a quote, CR or LF
// are quoted, and quotes inside them doubled. Reading takes CR LF and LF alike.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Appends one record and its CR LF.
void appendCsvRecord(std::string& out, const std::vector<std::string>& fields);

class CsvReader {
public:
    // A record of more than `mostFields` fields is an error (a line of commas
    // would otherwise make a field of each).
    explicit CsvReader(std::string_view text, std::size_t mostFields = SIZE_MAX)
        : text_(text), mostFields_(mostFields) {}

    enum class Result { record, end, error };
    // The next record's fields; on error, error() tells what and where.
    Result next(std::vector<std::string>& fields);
    // The line (from 1) the last record read began on.
    int line() const { return recordLine_; }
    const std::string& error() const { return error_; }

private:
    Result fail(int line, const std::string& what);

    std::string_view text_;
    std::size_t mostFields_;
    std::size_t at_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
    std::string error_;
};

}  // namespace tessaly
