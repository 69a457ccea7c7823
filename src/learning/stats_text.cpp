#include "learning/stats_text.h"

#include "base/practice_settings.h"
#include "base/text_width.h"
#include "base/utf8.h"

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

// Answer tokens in quotes, so that a space or a comma typed is seen as one; a
// control character typed (ESC, a backspace) as \xNN, not sent to the terminal.
std::string token(const std::string& text) { return "\"" + printable(text) + "\""; }

// "40 秒", "35 分钟", "1 小时 5 分钟".
std::string duration(int seconds) {
    if (seconds < 60) return std::to_string(seconds) + " 秒";
    const int minutes = (seconds + 30) / 60;
    if (minutes < 60) return std::to_string(minutes) + " 分钟";
    return std::to_string(minutes / 60) + " 小时" + (minutes % 60 ? " " + std::to_string(minutes % 60) + " 分钟" : "");
}

// Columns padded to their widest cell on a terminal; the last one is not padded,
// so that it may hold what the user typed, whatever its width on screen.
class Table {
public:
    explicit Table(std::string rightAligned) : right_(std::move(rightAligned)) {}
    void add(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
    std::string text() const {
        std::vector<std::size_t> widths;
        for (const auto& row : rows_)
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (widths.size() <= c) widths.push_back(0);
                widths[c] = std::max(widths[c], terminalWidth(row[c]));
            }
        std::string out;
        for (const auto& row : rows_) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string pad(widths[c] - terminalWidth(row[c]), ' ');
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

std::string summary(const StatsReport& report) {
    const PracticeSummary& first = report.practices.front();
    const PracticeSummary& last = report.practices.back();
    std::string out = "共 " + std::to_string(report.practices.size()) + " 次练习，" + first.date +
                      (first.date == last.date ? "" : " 至 " + last.date) + "，练了 " +
                      std::to_string(report.days.size()) + " 天" +
                      (report.seconds > 0 ? "，用时 " + duration(report.seconds) : "") + "：" +
                      std::to_string(report.rows) + " 个呼号抄对 " + std::to_string(report.copied) + " 个（" +
                      percent(report.copied, report.rows) + "）\n";
    if (report.practices.size() > 1)
        out += "最近一次 " + last.date + " " + last.time + "：" + std::to_string(last.rows) + " 个抄对 " +
               std::to_string(last.copied) + " 个（" + percent(last.copied, last.rows) + "）\n";

    const bool anyMissed = std::any_of(report.units.begin(), report.units.end(), [](const UnitSummary& u) { return u.missed > 0; });
    if (!report.weakest.empty()) {
        std::vector<std::string> weak;
        for (const std::string& name : report.weakest) {
            const auto unit = std::find_if(report.units.begin(), report.units.end(), [&](const UnitSummary& u) { return u.unit == name; });
            weak.push_back(name + (unit == report.units.end() ? "" : "（错 " + percent(unit->missed, unit->read) + "）"));
        }
        out += "接下来练：" + joined(weak, "、") + "\n";
    } else if (anyMissed) {
        out += "接下来练：读得还太少，看不出来\n";
    } else if (!report.units.empty()) {
        out += "到现在没有听错过字符\n";
    }
    std::vector<std::string> due;
    for (const UnitSummary& u : report.units)
        if (u.missed > 0 && u.box > 0 && u.due <= report.asOf) due.push_back(u.unit);
    if (!due.empty()) out += report.asOf + " 该复习：" + joined(due, "、") + "\n";
    if (!report.inserted.empty()) {
        std::vector<std::pair<std::string, int>> extra(report.inserted.begin(), report.inserted.end());
        std::stable_sort(extra.begin(), extra.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        std::vector<std::string> items;
        for (const auto& [typed, times] : extra) items.push_back(token(typed) + " " + std::to_string(times) + " 次");
        out += "写了但没有读的：" + joined(items, "、") + "\n";
    }
    return out;
}

// One table for each method and conditions, in the order of their first run: only
// runs of the same ones are compared, first with latest.
std::string thresholds(const StatsReport& report) {
    std::vector<std::vector<const ThresholdSummary*>> groups;
    for (const ThresholdSummary& t : report.thresholds) {
        auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g[0]->conditions == t.conditions; });
        if (group == groups.end()) groups.emplace_back(1, &t);
        else group->push_back(&t);
    }
    std::string out;
    for (const auto& group : groups) {
        const bool characters = group[0]->conditions.method == "characters";
        Table table(characters ? "..rrrr" : "..rrr");
        if (characters) table.add({"日期", "时间", "阈值 dB", "±", "整个呼号 dB", "呼号"});
        else table.add({"日期", "时间", "阈值 dB", "±", "呼号"});
        for (const ThresholdSummary* t : group) {
            std::vector<std::string> row{t->date, t->time, snrText(t->snrDb), snrText(t->se)};
            if (characters) row.push_back(t->wholeSnrDb ? snrText(*t->wholeSnrDb) : "-");
            row.push_back(std::to_string(t->trials));
            table.add(row);
        }
        out += std::string(characters ? "\n字符阈值（抄对一半字符时的信噪比" : "\n整个呼号的阈值（旧的测法：抄对一半呼号时的信噪比") +
               "，越低越好），" + conditionsText(group[0]->conditions) + "，从早到晚\n" + table.text();
        if (group.size() < 2) continue;
        const ThresholdSummary &first = *group.front(), &last = *group.back();
        const double change = std::round((last.snrDb - first.snrDb) * 10) / 10;
        // Two runs differ for real when they are more than twice their combined error apart.
        const bool real = std::abs(change) > 2 * std::hypot(first.se, last.se);
        out += "第一次 " + snrText(first.snrDb) + " dB，最近一次 " + snrText(last.snrDb) + " dB：" +
               (change == 0 ? "没有变化"
                : !real     ? (change < 0 ? "低了 " : "高了 ") + snrText(std::abs(change)) + " dB，在误差之内"
                : change < 0 ? "低了 " + snrText(-change) + " dB，进步了"
                             : "高了 " + snrText(change) + " dB") +
               "\n";
    }
    if (groups.size() > 1) out += "（条件不同的阈值不能相比，分开列出）\n";
    return out;
}

// Worth a table once some callsign was read in a speaker's voice.
std::string speakers(const StatsReport& report) {
    if (report.speakers.empty() || (report.speakers.size() == 1 && report.speakers[0].speaker == "default")) return "";
    Table table(".rrr");
    table.add({"报读人声", "抄对", "共", "正确率"});
    for (const SpeakerSummary& s : report.speakers)
        table.add({s.speaker == "default" ? "词表原声" : s.speaker, std::to_string(s.copied), std::to_string(s.rows),
                   percent(s.copied, s.rows)});
    return "\n各报读人声(呼叫堆积不算在内)\n" + table.text();
}

std::string pileups(const StatsReport& report) {
    if (report.pileups.empty()) return "";
    const auto rate = [](const PileupSummary& p) { return std::to_string(std::lround(p.ratePerHour)); };
    Table table("..rrrrrr");
    table.add({"日期", "时间", "轮", "电台", "联络", "抄错", "用时", "每小时联络"});
    for (const PileupSummary& p : report.pileups)
        table.add({p.date, p.time, std::to_string(p.rounds), std::to_string(p.callers), std::to_string(p.worked),
                   std::to_string(p.busted), p.seconds > 0 ? duration(p.seconds) : "-", p.seconds > 0 ? rate(p) : "-"});
    std::string out = "\n呼叫堆积,从早到晚\n" + table.text();
    const PileupSummary &first = report.pileups.front(), &last = report.pileups.back();
    if (report.pileups.size() > 1 && first.seconds > 0 && last.seconds > 0)
        out += "第一次每小时联络 " + rate(first) + " 个电台,最近一次 " + rate(last) + " 个\n";
    return out;
}

}  // namespace

std::string statsText(const StatsReport& report) {
    if (report.practices.empty()) return "还没有练习。\n";
    std::string out = summary(report) + thresholds(report) + speakers(report) + pileups(report);

    Table practices(".....rrrr.");
    practices.add({"日期", "时间", "词表", "速度", "噪声", "抄对", "共", "正确率", "用时", "条件"});
    for (const PracticeSummary& p : report.practices) {
        std::vector<std::string> conditions = p.conditions;
        conditions.insert(conditions.end(), p.channel.begin(), p.channel.end());
        practices.add({p.date, p.time, p.words, p.speed, p.noise, std::to_string(p.copied), std::to_string(p.rows),
                       percent(p.copied, p.rows), p.seconds > 0 ? duration(p.seconds) : "-",
                       conditions.empty() ? "-" : joined(conditions, " ")});
    }
    out += "\n各次练习，从早到晚\n" + practices.text();

    if (!report.units.empty()) {
        Table units(".rrrrr..");
        units.add({"字符", "读", "错", "错的比例", "漏掉", "复习箱", "到期", "最常写成"});
        for (const UnitSummary& u : report.units)
            units.add({u.unit, std::to_string(u.read), std::to_string(u.missed), percent(u.missed, u.read),
                       std::to_string(u.omitted), u.box > 0 ? std::to_string(u.box) : "-", u.due.empty() ? "-" : u.due,
                       u.mostWrittenAs.empty() ? "" : token(u.mostWrittenAs) + " " + std::to_string(u.mostWrittenAsCount) + " 次"});
        out += "\n各字符，错得最多的在前\n" + units.text();
    }
    return out;
}

}  // namespace tessaly
