#include "learning/results_rows.h"

#include "base/practice_settings.h"
#include "base/speakers.h"
#include "base/utf8.h"
#include "learning/csv.h"
#include "learning/read_units.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tessaly {

const char* const kResultsHeader =
    "number,answer,expected,mark,date,time,words,speed,noise,conditions,read,snr,threshold,threshold_se,path,passband,"
    "agc,seconds,practice_id,speaker,digits,round,level_db,offset_ms,outcome,calls,threshold_method,threshold_whole";
const char* const kResultsHeaderBeforeMethod =
    "number,answer,expected,mark,date,time,words,speed,noise,conditions,read,snr,threshold,threshold_se,path,passband,"
    "agc,seconds,practice_id,speaker,digits,round,level_db,offset_ms,outcome,calls";
const char* const kResultsHeaderWithPracticeId =
    "number,answer,expected,mark,date,time,words,speed,noise,conditions,read,snr,threshold,threshold_se,path,passband,"
    "agc,seconds,practice_id";
const char* const kResultsHeaderWithoutId =
    "number,answer,expected,mark,date,time,words,speed,noise,conditions,read,snr,threshold,threshold_se,path,passband,"
    "agc,seconds";
const char* const kResultsHeaderBefore = "number,answer,expected,mark,date,time,words,speed,noise,conditions,read";

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr double kMostDb = 60;  // an SNR or threshold beyond +-60 dB is no practice's
// What makes a spreadsheet take a cell for a formula (or hide its first character).
constexpr std::string_view kSpreadsheetStarts = "=+-@\t\r'";

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

std::string optionalDb(const std::optional<double>& db) { return db ? snrText(*db) : ""; }

// A dB value within the reader's range; none for one that is not a number.
std::string boundedDb(const std::optional<double>& db, double lowest) {
    if (!db || !std::isfinite(*db)) return "";
    return snrText(std::clamp(*db, lowest, kMostDb));
}

// An answer as the reader takes it: valid UTF-8 (a byte of no sequence becomes
// U+FFFD), at most kLongestAnswer characters, and shown as text by a spreadsheet.
std::string keptText(std::string_view text) {
    std::string kept;
    std::size_t characters = 0;
    for (const std::string_view c : utf8Characters(text)) {
        if (++characters > kLongestAnswer) break;
        kept += c.size() == 1 && static_cast<unsigned char>(c[0]) >= 0x80 ? std::string_view("\xEF\xBF\xBD") : c;
    }
    if (!kept.empty() && kSpreadsheetStarts.find(kept[0]) != std::string_view::npos) kept.insert(0, 1, '\'');
    return kept;
}

// The text as typed: the apostrophe keptText() put before it taken off.
std::string asTyped(const std::string& field) {
    if (field.size() >= 2 && field[0] == '\'' && kSpreadsheetStarts.find(field[1]) != std::string_view::npos)
        return field.substr(1);
    return field;
}

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

enum Column : std::size_t {
    number, answer, expected, mark, date, time, words, speed, noise, conditions, read,  // the first eleven
    snr, threshold, thresholdSe, path, passband, agc, seconds,                          // then to eighteen
    practiceId,                                                                         // nineteen
    speaker, digits, round, levelDb, offsetMs, outcome, calls,                         // twenty-six
    thresholdMethod, thresholdWhole,                                                    // twenty-eight
};
// The columns a practice's rows share, so that they are checked once.
constexpr Column kSettingsColumns[] = {date, time, words, speed, noise, conditions, threshold, thresholdSe,
                                       path, passband, agc, seconds, practiceId, digits, thresholdMethod, thresholdWhole};

std::string rowHead(const std::vector<std::string>& f, PracticeRow& row) {
    if (!parseNumber(f[number], 1, 999'999'999, row.number))
        return "number must be a whole number from 1, found " + quoted(f[number]);
    if (f[mark] != "Y" && f[mark] != "N") return "mark must be Y or N, found " + quoted(f[mark]);
    row.copied = f[mark] == "Y";
    return "";
}

std::string practiceHead(const std::vector<std::string>& f, PracticeRecord& practice, std::string_view latestDate) {
    if (!isRecordDate(f[date])) return "date must be a day as YYYY-MM-DD, found " + quoted(f[date]);
    if (f[date] > latestDate) return "date is in the future, found " + quoted(f[date]);
    if (!isRecordTime(f[time])) return "time must be HH:MM:SS, found " + quoted(f[time]);
    if (!isWordSetName(f[words])) return "words must be exam, standard, places, other or mixed, found " + quoted(f[words]);
    if (!isSpeedSetting(f[speed])) return "speed must be 0 to 10 or random, found " + quoted(f[speed]);
    if (!isNoiseSetting(f[noise])) return "noise must be off, S1 to S5, random or snr, found " + quoted(f[noise]);
    if (!parseConditions(f[conditions], practice.conditions))
        return "conditions must be different ones of qrn qrm qsb vary-noise vary-speed vary-tone, "
               "separated by single spaces, found " + quoted(f[conditions]);
    practice.date = f[date];
    practice.time = f[time];
    practice.words = f[words];
    practice.speed = f[speed];
    practice.noise = f[noise];
    return "";
}

std::string rowBody(const std::vector<std::string>& f, std::size_t columns, PracticeRow& row) {
    // A callsign is a few units and an answer a few characters: past these bounds a
    // row is no practice's, and aligning it would take time and memory for nothing.
    const auto tooLong = [](std::string_view text) {
        return text.size() > 4 * kLongestAnswer || utf8Characters(text).size() > kLongestAnswer;
    };
    row.answer = asTyped(f[answer]);
    row.expected = asTyped(f[expected]);
    if (tooLong(row.answer)) return "answer is longer than " + std::to_string(kLongestAnswer) + " characters";
    if (tooLong(row.expected)) return "expected is longer than " + std::to_string(kLongestAnswer) + " characters";
    if (const std::size_t n = static_cast<std::size_t>(std::count(f[read].begin(), f[read].end(), ' ')) + 1;
        n > kMostReadUnits)
        return "read has " + std::to_string(n) + " units, more than " + std::to_string(kMostReadUnits);
    auto line = lineFromSpoken(f[read]);
    if (!line) return "read must be unit names separated by single spaces, found " + quoted(f[read]);
    row.line = std::move(*line);
    if (columns >= kResultsColumnsWithoutId && !parseDb(f[snr], -kMostDb, kMostDb, row.snrDb))
        return "snr must be empty or dB from -60 to 60, found " + quoted(f[snr]);
    if (columns >= kResultsColumnsBeforeMethod) {
        if (!f[speaker].empty() && !findSpeaker(f[speaker]))
            return "speaker must be empty or one of " + speakerNames() + ", found " + quoted(f[speaker]);
        row.speaker = f[speaker];
        if (f[round].empty() != f[outcome].empty()) return "round and outcome must be given together";
        if (!f[round].empty()) {
            std::optional<double> level;
            if (!parseNumber(f[round], 1, 999'999, row.round)) return "round must be a whole number from 1, found " + quoted(f[round]);
            if (!parseDb(f[levelDb], -kMostDb, 0, level) || !level)
                return "level_db must be dB from -60 to 0, found " + quoted(f[levelDb]);
            row.levelDb = *level;
            if (!parseNumber(f[offsetMs], 0, 60'000, row.offsetMs))
                return "offset_ms must be a whole number of ms, found " + quoted(f[offsetMs]);
            if (!isPileupOutcome(f[outcome])) return "outcome must be worked, missed or busted, found " + quoted(f[outcome]);
            row.outcome = f[outcome];
            if (!parseNumber(f[calls], 0, 999, row.calls)) return "calls must be a whole number, found " + quoted(f[calls]);
        }
    }
    return "";
}

// The columns after the first eleven that a practice's rows share.
std::string practiceTail(const std::vector<std::string>& f, std::size_t columns, PracticeRecord& practice) {
    if (columns >= kResultsColumnsWithoutId) {
        if (!parseDb(f[threshold], -kMostDb, kMostDb, practice.thresholdDb))
            return "threshold must be empty or dB from -60 to 60, found " + quoted(f[threshold]);
        if (!parseDb(f[thresholdSe], 0, kMostDb, practice.thresholdSe))
            return "threshold_se must be empty or dB from 0 to 60, found " + quoted(f[thresholdSe]);
        if (practice.thresholdDb.has_value() != practice.thresholdSe.has_value())
            return "threshold and threshold_se must be given together";
        // The vocabulary's own checks, so the names are those of every other place.
        PracticeSettings settings;
        std::string error;
        if (std::find(pathNames().begin(), pathNames().end(), f[path]) == pathNames().end() ||
            !setSettingsField(settings, "path", f[path], error))
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
    }
    if (columns >= kResultsColumns) {
        if (!f[thresholdMethod].empty() && f[thresholdMethod] != "characters")
            return "threshold_method must be empty or characters, found " + quoted(f[thresholdMethod]);
        if (!parseDb(f[thresholdWhole], -kMostDb, kMostDb, practice.thresholdWholeDb))
            return "threshold_whole must be empty or dB from -60 to 60, found " + quoted(f[thresholdWhole]);
        if (!f[thresholdMethod].empty() && !practice.thresholdDb)
            return "threshold_method must be empty without a threshold";
        practice.thresholdMethod = f[thresholdMethod];
    }
    if (columns >= kResultsColumnsBeforeMethod) {
        if (f[digits] != "set" && f[digits] != "figures") return "digits must be set or figures, found " + quoted(f[digits]);
        practice.figures = f[digits] == "figures";
    }
    if (columns >= kResultsColumnsWithPracticeId) {
        if (!f[practiceId].empty() && !isPracticeId(f[practiceId]))
            return "practice_id must be empty or 1 to 64 letters, digits, - or _, found " + quoted(f[practiceId]);
        practice.id = f[practiceId];
    }
    return "";
}

}  // namespace

void appendResultsRows(std::string& out, const PracticeRecord& record) {
    const std::string threshold = boundedDb(record.thresholdDb, -kMostDb);
    const std::string thresholdSe = boundedDb(record.thresholdSe, 0);
    const std::string seconds = std::to_string(std::clamp(record.seconds, 0, kMostSeconds));
    for (const PracticeRow& row : record.rows)
        appendCsvRecord(out, {std::to_string(row.number), keptText(row.answer), keptText(row.expected),
                              row.copied ? "Y" : "N", record.date, record.time, record.words, record.speed, record.noise,
                              joined(record.conditions), spokenUnits(firstUnits(row.line, kMostReadUnits)),
                              boundedDb(row.snrDb, -kMostDb), threshold, thresholdSe, record.path,
                              record.passband ? "on" : "off", record.agc, seconds, record.id, row.speaker,
                              record.figures ? "figures" : "set", row.round ? std::to_string(row.round) : "",
                              row.round ? snrText(std::clamp(row.levelDb, -kMostDb, 0.0)) : "",
                              row.round ? std::to_string(row.offsetMs) : "", row.round ? row.outcome : "",
                              row.round ? std::to_string(row.calls) : "",
                              record.thresholdDb ? record.thresholdMethod : "",
                              boundedDb(record.thresholdWholeDb, -kMostDb)});
}

std::size_t resultsHeaderColumns(const std::vector<std::string>& fields) {
    // Most lines are rows: those are told at a glance.
    const std::size_t n = fields.size();
    if ((n != kResultsColumns && n != kResultsColumnsBeforeMethod && n != kResultsColumnsWithPracticeId && n != kResultsColumnsWithoutId &&
         n != kResultsColumnsBefore) ||
        !fields[0].ends_with("number"))
        return 0;
    std::string line(std::string_view(fields[0]).substr(fields[0].starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0));
    for (std::size_t i = 1; i < n; ++i) line += "," + fields[i];
    if (n == kResultsColumns && line == kResultsHeader) return kResultsColumns;
    if (n == kResultsColumnsBeforeMethod && line == kResultsHeaderBeforeMethod) return kResultsColumnsBeforeMethod;
    if (n == kResultsColumnsWithPracticeId && line == kResultsHeaderWithPracticeId) return kResultsColumnsWithPracticeId;
    if (n == kResultsColumnsWithoutId && line == kResultsHeaderWithoutId) return kResultsColumnsWithoutId;
    if (n == kResultsColumnsBefore && line == kResultsHeaderBefore) return kResultsColumnsBefore;
    return 0;
}

std::string ResultsRowReader::add(const std::vector<std::string>& f, std::size_t columns) {
    PracticeRow row;
    if (std::string problem = rowHead(f, row); !problem.empty()) return problem;
    // A row of the practice before it: only its own columns are read.
    const auto sameSettings = [&] {
        if (columns != columnsOfLast_) return false;
        for (std::size_t i = 0; i < std::size(kSettingsColumns) && kSettingsColumns[i] < columns; ++i)
            if (f[kSettingsColumns[i]] != settingsOfLast_[i]) return false;
        return true;
    };
    if (sameSettings()) {
        if (std::string problem = rowBody(f, columns, row); !problem.empty()) return problem;
        return addToPractice(practiceOfLast_, std::move(row));
    }

    PracticeRecord practice;
    if (std::string problem = practiceHead(f, practice, latestDate_); !problem.empty()) return problem;
    if (std::string problem = rowBody(f, columns, row); !problem.empty()) return problem;
    if (std::string problem = practiceTail(f, columns, practice); !problem.empty()) return problem;

    std::size_t index = found_.size();
    if (!practice.id.empty()) {
        const auto [entry, added] = practiceWithId_.try_emplace(practice.id, found_.size());
        index = entry->second;
        if (!added && (found_[index].date != practice.date || found_[index].time != practice.time))
            return "practice_id " + practice.id + " is that of the practice of " + found_[index].date + " " +
                   found_[index].time;
    } else {
        const Key key{practice.date,      practice.time, practice.words, practice.speed,
                      practice.noise,     practice.conditions, optionalDb(practice.thresholdDb),
                      optionalDb(practice.thresholdSe), practice.path, practice.passband,
                      practice.agc,       practice.seconds};
        index = practiceOf_.try_emplace(key, found_.size()).first->second;
    }
    if (index == found_.size()) {
        found_.push_back(std::move(practice));
        numbersOf_.emplace_back();
    }
    settingsOfLast_.clear();
    for (const Column c : kSettingsColumns) settingsOfLast_.push_back(c < columns ? f[c] : std::string());
    columnsOfLast_ = columns;
    practiceOfLast_ = index;
    return addToPractice(index, std::move(row));
}

std::string ResultsRowReader::addToPractice(std::size_t index, PracticeRow row) {
    // A set of each practice's row numbers keeps this linear in the file's length.
    if (!numbersOf_[index].insert(row.number).second)
        return "row " + std::to_string(row.number) + " of the practice of " + found_[index].date + " " +
               found_[index].time + " is there twice";
    found_[index].rows.push_back(std::move(row));
    return "";
}

}  // namespace tessaly
