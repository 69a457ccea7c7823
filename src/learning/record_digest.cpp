#include "learning/record_digest.h"

#include "learning/alignment.h"
#include "learning/read_units.h"

#include <algorithm>
#include <tuple>

namespace tessaly {
namespace {

// The unit names by rank, as unitRank() orders them.
const std::string& unitName(std::size_t rank) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (char c = 'A'; c <= 'Z'; ++c) all.emplace_back(1, c);
        for (char c = '0'; c <= '9'; ++c) all.emplace_back(1, c);
        for (const char* word : {"/", "MOBILE", "QRP"}) all.emplace_back(word);
        return all;
    }();
    return names[rank];
}

}  // namespace

void RecordDigest::add(const PracticeRecord& practice) {
    PracticeSummary summary;
    summary.date = practice.date, summary.time = practice.time, summary.words = practice.words;
    summary.speed = practice.speed, summary.noise = practice.noise, summary.conditions = practice.conditions;
    if (practice.path != "off") summary.channel.push_back("path=" + practice.path);
    if (practice.passband) summary.channel.push_back("passband");
    if (practice.agc != "off") summary.channel.push_back("agc=" + practice.agc);
    summary.rows = static_cast<int>(practice.rows.size());
    summary.copied = static_cast<int>(std::count_if(practice.rows.begin(), practice.rows.end(), [](const PracticeRow& r) { return r.copied; }));
    if (summary.rows > 0) summary.copyRate = static_cast<double>(summary.copied) / summary.rows;
    summary.seconds = practice.seconds;
    summaries_.push_back(std::move(summary));
    if (practice.thresholdDb && practice.thresholdSe)
        thresholds_.push_back({practice.date, practice.time, *practice.thresholdDb, *practice.thresholdSe,
                               static_cast<int>(practice.rows.size()), practice.thresholdWholeDb,
                               thresholdConditions(practice)});

    PileupSummary pileup{practice.date, practice.time};
    for (const PracticeRow& row : practice.rows) {
        if (row.round > 0) {
            pileup.rounds = std::max(pileup.rounds, row.round);
            ++pileup.callers;
            pileup.worked += row.outcome == "worked";
            pileup.busted += row.outcome == "busted";
            continue;
        }
        SpeakerSummary& speaker = speakers_[row.speaker.empty() ? "default" : row.speaker];
        ++speaker.rows;
        speaker.copied += row.copied;
    }
    if (pileup.callers > 0) {
        pileup.seconds = practice.seconds;
        if (practice.seconds > 0) pileup.ratePerHour = pileup.worked * 3600.0 / practice.seconds;
        pileups_.push_back(std::move(pileup));
    }

    std::vector<Alignment> aligned;
    aligned.reserve(practice.rows.size());
    for (const PracticeRow& row : practice.rows) aligned.push_back(align(row.answer, unitsRead(row.line)));
    // Once summed, the analysis goes on a practice at a time.
    if (analysis_) analysis_->addAligned(aligned);

    Day& day = days_[practice.date];
    ++day.practices;
    for (const Alignment& alignment : aligned) {
        for (const UnitCopy& copy : alignment.units) {
            const auto rank = static_cast<std::size_t>(unitRank(copy.unit.name));
            if (rank >= kUnits) continue;
            Readings& readings = day.units[rank];
            ++readings.read;
            if (copy.copy == Copy::copied) continue;
            ++readings.missed;
            if (copy.copy == Copy::omitted) ++readings.omitted;
            else ++day.writtenAs[{rank, copy.writtenAs}];
        }
        for (const Insertion& extra : alignment.inserted) ++day.inserted[extra.token];
    }
}

const ErrorAnalysis& RecordDigest::analysis() const {
    if (!analysis_) analysis_ = days_.empty() ? ErrorAnalysis{} : analysis(days_.begin()->first, days_.rbegin()->first);
    return *analysis_;
}

ErrorAnalysis RecordDigest::analysis(std::string_view firstDay, std::string_view lastDay) const {
    ErrorAnalysis analysis;
    std::array<UnitErrors, kUnits> units{};
    for (auto at = days_.lower_bound(std::string(firstDay)); at != days_.end() && at->first <= lastDay; ++at) {
        const Day& day = at->second;
        analysis.addPractices(day.practices);
        for (std::size_t rank = 0; rank < kUnits; ++rank) {
            units[rank].read += day.units[rank].read;
            units[rank].missed += day.units[rank].missed;
            units[rank].omitted += day.units[rank].omitted;
        }
        for (const auto& [unitAndToken, count] : day.writtenAs) units[unitAndToken.first].writtenAs[unitAndToken.second] += count;
        for (const auto& [token, count] : day.inserted) analysis.addInserted(token, count);
    }
    for (std::size_t rank = 0; rank < kUnits; ++rank) {
        units[rank].unit = unitName(rank);
        analysis.addUnit(units[rank]);
    }
    return analysis;
}

std::vector<ReviewBox> RecordDigest::boxes(std::string_view asOf) const {
    std::array<ReviewBox, kUnits> boxes{};
    for (const auto& [date, day] : days_) {
        if (date > asOf) break;
        if (!isRecordDate(date)) continue;
        for (std::size_t rank = 0; rank < kUnits; ++rank) {
            const Readings& count = day.units[rank];
            if (count.read == 0) continue;
            ReviewBox& box = boxes[rank];
            if (box.read == 0) box.unit = unitName(rank), box.since = date;
            box.read += count.read;
            box.missed += count.missed;
            if (count.missed > 0) {
                box.box = 1, box.since = date, box.lastMissed = date;
            } else if (count.read >= 2) {
                box.box = std::min(box.box + 1, kReviewBoxes), box.since = date;
            }
        }
    }
    std::vector<ReviewBox> result;
    for (ReviewBox& box : boxes) {
        if (box.read == 0) continue;
        box.due = addDays(box.since, reviewIntervalDays(box.box));
        result.push_back(std::move(box));
    }
    return result;
}

std::optional<double> RecordDigest::lastThreshold(const ThresholdConditions& conditions) const {
    const ThresholdSummary* last = nullptr;
    for (const ThresholdSummary& t : thresholds_)
        if (t.conditions == conditions && (!last || std::tie(t.date, t.time) >= std::tie(last->date, last->time))) last = &t;
    return last ? std::optional(last->snrDb) : std::nullopt;
}

StatsReport RecordDigest::report(std::string_view asOf) const {
    StatsReport report;
    report.practices = summaries_;
    report.thresholds = thresholds_;
    // Dates and times are fixed-width digits, so text order is time order; equal
    // times keep their order.
    const auto byTime = [](const auto& a, const auto& b) { return std::tie(a.date, a.time) < std::tie(b.date, b.time); };
    std::stable_sort(report.practices.begin(), report.practices.end(), byTime);
    std::stable_sort(report.thresholds.begin(), report.thresholds.end(), byTime);
    report.pileups = pileups_;
    std::stable_sort(report.pileups.begin(), report.pileups.end(), byTime);
    for (const auto& [name, counts] : speakers_) {
        SpeakerSummary speaker = counts;
        speaker.speaker = name;
        speaker.copyRate = speaker.rows > 0 ? static_cast<double>(speaker.copied) / speaker.rows : 0.0;
        // Each set's own voice first: the practices from before there were speakers.
        if (name == "default") report.speakers.insert(report.speakers.begin(), std::move(speaker));
        else report.speakers.push_back(std::move(speaker));
    }

    for (const PracticeSummary& p : report.practices) {
        report.rows += p.rows;
        report.copied += p.copied;
        report.seconds += p.seconds;
        if (report.days.empty() || report.days.back().date != p.date) report.days.emplace_back().date = p.date;
        DaySummary& day = report.days.back();
        ++day.practices;
        day.rows += p.rows;
        day.copied += p.copied;
        day.seconds += p.seconds;
        day.copyRate = day.rows > 0 ? static_cast<double>(day.copied) / day.rows : 0.0;
    }

    report.asOf = !asOf.empty() ? std::string(asOf) : report.practices.empty() ? "" : report.practices.back().date;
    const std::vector<ReviewBox> boxes = this->boxes(report.asOf);
    const ErrorAnalysis& analysis = this->analysis();
    for (const UnitErrors& row : analysis.rows()) {
        const auto [token, count] = row.mostWrittenAs();
        UnitSummary unit{row.unit, row.read, row.missed, row.omitted, row.missedShare(), token, count, 0, ""};
        if (const ReviewBox* box = boxOf(boxes, row.unit)) unit.box = box->box, unit.due = box->due;
        report.units.push_back(std::move(unit));
    }
    report.weakest = analysis.weakest();
    report.inserted = analysis.inserted();
    return report;
}

DigestedRecord digestRecord(const LearningRecord& record, const RecordLimits& limits) {
    DigestedRecord digested;
    digested.contents = record.read(limits);
    for (const PracticeRecord& practice : digested.contents.practices) digested.digest.add(practice);
    digested.contents.practices = {};
    return digested;
}

}  // namespace tessaly
