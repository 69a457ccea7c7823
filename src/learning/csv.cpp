#include "learning/csv.h"

namespace tessaly {
namespace {

void appendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

void appendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        appendField(out, fields[i]);
    }
    out += "\r\n";
}

CsvReader::Result CsvReader::fail(int line, const std::string& what) {
    error_ = "line " + std::to_string(line) + ": " + what;
    return Result::error;
}

CsvReader::Result CsvReader::next(std::vector<std::string>& fields) {
    fields.clear();
    if (at_ >= text_.size()) return Result::end;
    recordLine_ = line_;
    // After a field: true at the end of the record (its line end is taken).
    const auto recordEnds = [&]() {
        if (at_ == text_.size()) return true;
        if (text_[at_] == '\n') {
            ++at_, ++line_;
            return true;
        }
        if (text_.substr(at_, 2) == "\r\n") {
            at_ += 2, ++line_;
            return true;
        }
        return false;
    };
    for (;;) {
        if (fields.size() == mostFields_) return fail(recordLine_, "more than " + std::to_string(mostFields_) + " fields");
        std::string& field = fields.emplace_back();
        if (at_ < text_.size() && text_[at_] == '"') {
            const int opened = line_;
            for (++at_;; ++at_) {
                if (at_ == text_.size()) return fail(opened, "a quoted field is not closed");
                const char c = text_[at_];
                if (c == '"') {
                    if (text_.substr(at_, 2) != "\"\"") break;
                    ++at_;
                } else if (c == '\n') {
                    ++line_;
                }
                field += c;
            }
            ++at_;  // the closing quote
            if (recordEnds()) return Result::record;
            if (text_[at_] != ',') return fail(line_, "text after a closing quote");
            ++at_;
            continue;
        }
        const std::size_t end = text_.find_first_of(",\"\r\n", at_);
        field = text_.substr(at_, end == std::string_view::npos ? end : end - at_);
        at_ = end == std::string_view::npos ? text_.size() : end;
        if (recordEnds()) return Result::record;
        if (text_[at_] == '"') return fail(line_, "a quote inside an unquoted field");
        if (text_[at_] == '\r') return fail(line_, "a carriage return without a line feed");
        ++at_;  // the comma
    }
}

}  // namespace tessaly
