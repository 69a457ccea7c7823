#include "learning/results_rows.h"

#include "base/practice_settings.h"
#include "base/utf8.h"
#include "learning/csv.h"
#include "learning/read_units.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tessaly {

const char* const kResultsHeader =
    "number,answer,expected,mark,date,time,words,speed,noise,conditions,read,snr,threshold,threshold_se,path,passband,"
    "agc,seconds";
const char* const kResultsHeaderBefore = "number,answer,expected,mark,date,time,words,speed,noise,conditions,read";

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kMostSeconds = 10'000'000;  // 115 days: more is no practice

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

std::string optionalDb(const std::optional<double>& db) { return db ? snrText(*db) : ""; }

bool parseNumber(std::string_view text, int lowest, int highest, int& number) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    number = std::stoi(std::string(text));
    return number >= lowest && number <= highest;
}

// A number of dB as snrText writes it (a sign, digits, a point); "" for none.
bool parseDb(std::string_view text, double lowest, double highest, std::optional<double>& db) {
    db.reset();
    if (text.empty()) return true;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < lowest ||
        value > highest)
        return false;
    db = value;
    return true;
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

std::string quoted(std::string_view value) { return "\"" + std::string(value) + "\""; }

// The columns added after the first eleven.
std::string parseAdditions(const std::vector<std::string>& f, PracticeRecord& practice, PracticeRow& row) {
    enum { snr = 11, threshold, thresholdSe, path, passband, agc, seconds };
    if (!parseDb(f[snr], -60, 60, row.snrDb)) return "snr must be empty or dB from -60 to 60, found " + quoted(f[snr]);
    if (!parseDb(f[threshold], -60, 60, practice.thresholdDb))
        return "threshold must be empty or dB from -60 to 60, found " + quoted(f[threshold]);
    if (!parseDb(f[thresholdSe], 0, 60, practice.thresholdSe))
        return "threshold_se must be empty or dB from 0 to 60, found " + quoted(f[thresholdSe]);
    if (practice.thresholdDb.has_value() != practice.thresholdSe.has_value())
        return "threshold and threshold_se must be given together";
    // The vocabulary's own checks, so the names are those of every other place.
    PracticeSettings settings;
    std::string error;
    if (!setSettingsField(settings, "path", f[path], error) || f[path].find_first_of(" ,\"") != std::string::npos)
        return "path must be a preset's name or off, found " + quoted(f[path]);
    if (!setSettingsField(settings, "passband", f[passband], error))
        return "passband must be on or off, found " + quoted(f[passband]);
    if (!setSettingsField(settings, "agc", f[agc], error))
        return "agc must be off, fast, medium or slow, found " + quoted(f[agc]);
    if (!parseNumber(f[seconds], 0, kMostSeconds, practice.seconds))
        return "seconds must be a whole number of seconds, found " + quoted(f[seconds]);
    practice.path = settings.path;
    practice.passband = settings.passband;
    practice.agc = settings.agc;
    return "";
}

}  // namespace

void appendResultsRows(std::string& out, const PracticeRecord& record) {
    const std::string threshold = optionalDb(record.thresholdDb), thresholdSe = optionalDb(record.thresholdSe);
    for (const PracticeRow& row : record.rows)
        appendCsvRecord(out, {std::to_string(row.number), row.answer, row.expected, row.copied ? "Y" : "N", record.date,
                              record.time, record.words, record.speed, record.noise, joined(record.conditions),
                              spokenUnits(row.line), optionalDb(row.snrDb), threshold, thresholdSe, record.path,
                              record.passband ? "on" : "off", record.agc, std::to_string(record.seconds)});
}

std::size_t resultsHeaderColumns(std::vector<std::string> fields) {
    if (!fields.empty() && std::string_view(fields[0]).starts_with(kByteOrderMark))
        fields[0].erase(0, kByteOrderMark.size());
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : ",") + field;
    if (fields.size() == kResultsColumns && line == kResultsHeader) return kResultsColumns;
    if (fields.size() == kResultsColumnsBefore && line == kResultsHeaderBefore) return kResultsColumnsBefore;
    return 0;
}

std::string parseResultsRow(const std::vector<std::string>& f, std::size_t columns, PracticeRecord& practice,
                            PracticeRow& row) {
    enum { number, answer, expected, mark, date, time, words, speed, noise, conditions, read };
    if (!parseNumber(f[number], 1, 999'999'999, row.number))
        return "number must be a whole number from 1, found " + quoted(f[number]);
    if (f[mark] != "Y" && f[mark] != "N") return "mark must be Y or N, found " + quoted(f[mark]);
    if (!isRecordDate(f[date])) return "date must be a day as YYYY-MM-DD, found " + quoted(f[date]);
    if (!isRecordTime(f[time])) return "time must be HH:MM:SS, found " + quoted(f[time]);
    if (!isWordSetName(f[words])) return "words must be exam, standard, places, other or mixed, found " + quoted(f[words]);
    if (!isSpeedSetting(f[speed])) return "speed must be 0 to 10 or random, found " + quoted(f[speed]);
    if (!isNoiseSetting(f[noise])) return "noise must be off, S1 to S5, random or snr, found " + quoted(f[noise]);
    if (!parseConditions(f[conditions], practice.conditions))
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
    if (columns == kResultsColumns)
        if (std::string problem = parseAdditions(f, practice, row); !problem.empty()) return problem;
    row.answer = f[answer];
    row.expected = f[expected];
    row.copied = f[mark] == "Y";
    row.line = *line;
    practice.date = f[date];
    practice.time = f[time];
    practice.words = f[words];
    practice.speed = f[speed];
    practice.noise = f[noise];
    return "";
}

std::string PracticeGrouping::add(PracticeRecord practice, PracticeRow row) {
    const Key key{practice.date,
                  practice.time,
                  practice.words,
                  practice.speed,
                  practice.noise,
                  practice.conditions,
                  optionalDb(practice.thresholdDb),
                  optionalDb(practice.thresholdSe),
                  practice.path,
                  practice.passband,
                  practice.agc,
                  practice.seconds};
    const auto [entry, added] = practiceOf_.try_emplace(key, found_.size());
    if (added) {
        found_.push_back(std::move(practice));
        numbersOf_.emplace_back();
    }
    std::vector<PracticeRow>& rows = found_[entry->second].rows;
    // A set of each practice's row numbers keeps this linear in the file's length.
    if (!numbersOf_[entry->second].insert(row.number).second)
        return "row " + std::to_string(row.number) + " of the practice of " + found_[entry->second].date + " " +
               found_[entry->second].time + " is there twice";
    rows.push_back(std::move(row));
    return "";
}

}  // namespace tessaly
