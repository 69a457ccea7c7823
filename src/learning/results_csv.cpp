#include "learning/results_csv.h"

#include "learning/csv.h"
#include "learning/read_units.h"
#include "base/utf8.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_set>

namespace tessaly {

const char* const kResultsHeader = "number,answer,expected,mark,date,time,words,speed,noise,conditions,read";

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kFieldCount = 11;

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

bool isHeader(std::vector<std::string> fields) {
    if (!fields.empty() && std::string_view(fields[0]).starts_with(kByteOrderMark))
        fields[0].erase(0, kByteOrderMark.size());
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : ",") + field;
    return fields.size() == kFieldCount && line == kResultsHeader;
}

bool parseNumber(std::string_view text, int& number) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    number = std::stoi(std::string(text));
    return number >= 1;
}

// Space-separated condition names, each at most once; "" for none.
bool parseConditions(std::string_view text, std::vector<std::string>& conditions) {
    conditions.clear();
    if (text.empty()) return true;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(' ', start);
        const std::string word(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (!isConditionName(word) || std::find(conditions.begin(), conditions.end(), word) != conditions.end())
            return false;
        conditions.push_back(word);
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

// True when nothing but empty lines follows (the reader is moved past them).
bool blankToTheEnd(CsvReader& reader) {
    std::vector<std::string> fields;
    for (;;) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::end) return true;
        if (result == CsvReader::Result::error || fields.size() != 1 || !fields[0].empty()) return false;
    }
}

std::string quoted(std::string_view value) { return "\"" + std::string(value) + "\""; }

// One data row's fields into a row and the settings of its practice; "" or what is wrong.
std::string parseRow(const std::vector<std::string>& f, PracticeRecord& settings, PracticeRow& row) {
    enum { number, answer, expected, mark, date, time, words, speed, noise, conditions, read };
    if (!parseNumber(f[number], row.number)) return "number must be a whole number from 1, found " + quoted(f[number]);
    if (f[mark] != "Y" && f[mark] != "N") return "mark must be Y or N, found " + quoted(f[mark]);
    if (!isRecordDate(f[date])) return "date must be a day as YYYY-MM-DD, found " + quoted(f[date]);
    if (!isRecordTime(f[time])) return "time must be HH:MM:SS, found " + quoted(f[time]);
    if (!isWordSetName(f[words])) return "words must be exam, standard, places, other or mixed, found " + quoted(f[words]);
    if (!isSpeedSetting(f[speed])) return "speed must be 0 to 10 or random, found " + quoted(f[speed]);
    if (!isNoiseSetting(f[noise])) return "noise must be off, S1 to S5, random or snr, found " + quoted(f[noise]);
    if (!parseConditions(f[conditions], settings.conditions))
        return "conditions must be different ones of qrn qrm qsb vary-noise vary-speed vary-tone, "
               "separated by single spaces, found " + quoted(f[conditions]);
    // A callsign is a few units and an answer a few characters: past these bounds a
    // row is no practice's, and aligning it would take time and memory for nothing.
    const auto tooLong = [](std::string_view text) {
        return text.size() > 4 * kLongestAnswer || utf8Characters(text).size() > kLongestAnswer;
    };
    if (tooLong(f[answer])) return "answer is longer than " + std::to_string(kLongestAnswer) + " characters";
    if (tooLong(f[expected])) return "expected is longer than " + std::to_string(kLongestAnswer) + " characters";
    if (const std::size_t n = static_cast<std::size_t>(std::count(f[read].begin(), f[read].end(), ' ')) + 1;
        n > kMostReadUnits)
        return "read has " + std::to_string(n) + " units, more than " + std::to_string(kMostReadUnits);
    const auto line = lineFromSpoken(f[read]);
    if (!line) return "read must be unit names separated by single spaces, found " + quoted(f[read]);
    row.answer = f[answer];
    row.expected = f[expected];
    row.copied = f[mark] == "Y";
    row.line = *line;
    settings.date = f[date];
    settings.time = f[time];
    settings.words = f[words];
    settings.speed = f[speed];
    settings.noise = f[noise];
    return "";
}

}  // namespace

std::string resultsCsv(const PracticeRecord& record) {
    std::string out = std::string(kResultsHeader) + "\r\n";
    for (const PracticeRow& row : record.rows)
        appendCsvRecord(out, {std::to_string(row.number), row.answer, row.expected, row.copied ? "Y" : "N", record.date,
                              record.time, record.words, record.speed, record.noise, joined(record.conditions),
                              spokenUnits(row.line)});
    return out;
}

bool parseResultsCsv(std::string_view text, std::vector<PracticeRecord>& out, std::string& error) {
    if (const std::size_t bad = invalidUtf8At(text); bad != std::string_view::npos) {
        error = "line " + std::to_string(1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bad), '\n')) +
                ": not UTF-8 text";
        return false;
    }
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

    std::vector<PracticeRecord> found;
    using Settings = std::tuple<std::string, std::string, std::string, std::string, std::string, std::vector<std::string>>;
    std::map<Settings, std::size_t> practiceOf;
    std::vector<std::unordered_set<int>> numbersOf;  // the row numbers of each practice found
    CsvReader reader(text, 4 * kFieldCount);
    std::vector<std::string> fields;
    bool headerSeen = false;
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
        if (isHeader(fields)) {
            headerSeen = true;
            continue;
        }
        if (fields.size() == 1 && fields[0].empty()) {
            const int blankLine = reader.line();
            if (blankToTheEnd(reader)) break;  // empty lines at the end, as an editor may leave
            error = "line " + std::to_string(blankLine) + ": " +
                    (headerSeen ? std::string("an empty line") : std::string("expected the header ") + kResultsHeader);
            return false;
        }
        if (!headerSeen) return fail(std::string("expected the header ") + kResultsHeader);
        if (fields.size() != kFieldCount)
            return fail("expected " + std::to_string(kFieldCount) + " fields, found " + std::to_string(fields.size()));
        PracticeRecord settings;
        PracticeRow row;
        if (const std::string problem = parseRow(fields, settings, row); !problem.empty()) return fail(problem);

        const Settings key{settings.date, settings.time, settings.words, settings.speed, settings.noise, settings.conditions};
        const auto [entry, added] = practiceOf.try_emplace(key, found.size());
        if (added) {
            found.push_back(std::move(settings));
            numbersOf.emplace_back();
        }
        std::vector<PracticeRow>& rows = found[entry->second].rows;
        if (!numbersOf[entry->second].insert(row.number).second)
            return fail("row " + std::to_string(row.number) + " of the practice of " + found[entry->second].date + " " +
                        found[entry->second].time + " is there twice");
        rows.push_back(std::move(row));
    }
    if (!headerSeen) {
        error = std::string("line 1: expected the header ") + kResultsHeader;
        return false;
    }
    out.insert(out.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    return true;
}

}  // namespace tessaly
