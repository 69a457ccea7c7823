#include "learning/stats_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace tessaly {
namespace {

// A whole percentage that never shows 100% for less than all, nor 0% for more
// than none: a learner reads "100%" as "no mistakes".
std::string percent(int part, int whole) {
    if (whole <= 0) return "-";
    long value = std::lround(100.0 * part / whole);
    if (part < whole) value = std::min(value, 99L);
    if (part > 0) value = std::max(value, 1L);
    return std::to_string(value) + "%";
}

std::string joined(const std::vector<std::string>& words, const char* separator) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : separator) + word;
    return text;
}

// Answer tokens in quotes, so that a space or a comma typed is seen as one.
std::string token(const std::string& text) { return "\"" + text + "\""; }

// Columns padded to their widest cell; the last one is not padded, so that it
// may hold what the user typed, whatever its width on screen.
class Table {
public:
    explicit Table(std::string rightAligned) : right_(std::move(rightAligned)) {}
    void add(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
    std::string text() const {
        std::vector<std::size_t> widths;
        for (const auto& row : rows_)
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (widths.size() <= c) widths.push_back(0);
                widths[c] = std::max(widths[c], row[c].size());
            }
        std::string out;
        for (const auto& row : rows_) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string pad(widths[c] - row[c].size(), ' ');
                const bool last = c + 1 == row.size();
                if (c > 0) line += "  ";
                line += c < right_.size() && right_[c] == 'r' ? pad + row[c] : row[c] + (last ? "" : pad);
            }
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out += line + "\n";
        }
        return out;
    }

private:
    std::string right_;  // 'r' for each right-aligned column
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace

std::string statsText(const StatsReport& report) {
    if (report.practices.empty()) return "No practices yet.\n";
    const PracticeSummary& first = report.practices.front();
    const PracticeSummary& last = report.practices.back();
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };

    std::string out = count(report.practices.size(), "practice", "practices") + ", " + first.date +
                      (first.date == last.date ? "" : " to " + last.date) + ": " + std::to_string(report.copied) +
                      " of " + count(static_cast<std::size_t>(report.rows), "callsign", "callsigns") + " copied (" +
                      percent(report.copied, report.rows) + ")\n";
    if (report.practices.size() > 1)
        out += "Latest, " + last.date + " " + last.time + ": " + std::to_string(last.copied) + " of " +
               std::to_string(last.rows) + " (" + percent(last.copied, last.rows) + ")\n";

    const bool anyMissed = std::any_of(report.units.begin(), report.units.end(), [](const UnitSummary& u) { return u.missed > 0; });
    if (!report.weakest.empty()) {
        std::vector<std::string> weak;
        for (const std::string& name : report.weakest) {
            const auto unit = std::find_if(report.units.begin(), report.units.end(), [&](const UnitSummary& u) { return u.unit == name; });
            weak.push_back(name + (unit == report.units.end() ? "" : " (" + percent(unit->missed, unit->read) + " missed)"));
        }
        out += "Practise next: " + joined(weak, ", ") + "\n";
    } else if (anyMissed) {
        out += "Practise next: too few readings yet to tell\n";
    } else if (!report.units.empty()) {
        out += "No character missed so far\n";
    }
    if (!report.inserted.empty()) {
        std::vector<std::pair<std::string, int>> extra(report.inserted.begin(), report.inserted.end());
        std::stable_sort(extra.begin(), extra.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        std::vector<std::string> items;
        for (const auto& [typed, times] : extra) items.push_back(token(typed) + " " + count(static_cast<std::size_t>(times), "time", "times"));
        out += "Typed but not read: " + joined(items, ", ") + "\n";
    }

    Table practices(".....rrr.");
    practices.add({"Date", "Time", "Words", "Speed", "Noise", "Copied", "Of", "Rate", "Conditions"});
    for (const PracticeSummary& p : report.practices)
        practices.add({p.date, p.time, p.words, p.speed, p.noise, std::to_string(p.copied), std::to_string(p.rows),
                       percent(p.copied, p.rows), p.conditions.empty() ? "-" : joined(p.conditions, " ")});
    out += "\nPractices, oldest first\n" + practices.text();

    if (!report.units.empty()) {
        Table units(".rrrr.");
        units.add({"Unit", "Read", "Missed", "Share", "Left out", "Most often written as"});
        for (const UnitSummary& u : report.units)
            units.add({u.unit, std::to_string(u.read), std::to_string(u.missed), percent(u.missed, u.read),
                       std::to_string(u.omitted),
                       u.mostWrittenAs.empty() ? "" : token(u.mostWrittenAs) + " " + count(static_cast<std::size_t>(u.mostWrittenAsCount), "time", "times")});
        out += "\nCharacters, most missed first\n" + units.text();
    }
    return out;
}

}  // namespace tessaly
