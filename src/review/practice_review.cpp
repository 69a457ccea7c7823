#include "review/practice_review.h"

#include "base/output_file.h"
#include "learning/drill.h"
#include "learning/own_files.h"
#include "learning/read_units.h"
#include "learning/results_csv.h"

#include <algorithm>
#include <ctime>

namespace tessaly {
namespace {

std::string localTime(std::chrono::system_clock::time_point t) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

}  // namespace

void PracticeReview::started() {
    startedAt_ = localTime(host_.now());
    recorded_ = false;
}

void PracticeReview::marked(const MarkedPractice& m) {
    recorded_ = true;
    const bool thresholdRun = m.settings.threshold;
    record_ = {};
    record_.id = newPracticeId();  // the same in an export and in the learning record
    record_.date = startedAt_.substr(0, 10);
    record_.time = startedAt_.substr(11);
    setRecordSettings(record_, m.settings);
    if (thresholdRun) record_.noise = "snr";  // the run set the noise, callsign by callsign
    record_.seconds = m.seconds;
    if (thresholdRun && m.threshold) {
        record_.thresholdDb = m.threshold->estimate.snrDb;
        record_.thresholdSe = m.threshold->estimate.se;
        record_.thresholdMethod = ThresholdRun::kMethod;
        record_.thresholdWholeDb = m.threshold->estimate.wholeSnrDb;
    }

    std::vector<AnsweredLine> answered;
    PracticeRecord kept = record_;  // for the learning record: what was read or answered
    kept.rows.clear();
    for (std::size_t i = 0; i < m.rows.size() && static_cast<int>(i) < m.groupCount; ++i) {
        const CallsignRow& row = m.rows[i];
        PracticeRow listed;
        listed.number = static_cast<int>(i) + 1;
        listed.answer = row.answer;
        listed.expected = row.expected;
        listed.copied = row.copied.value_or(false);
        listed.line = row.line;
        // A row never begun was heard at nothing; outside a threshold run it has the SNR that was set.
        listed.snrDb = row.begun ? row.snrDb : thresholdRun ? std::nullopt : m.settings.snrDb;
        listed.speaker = row.speaker;
        if (i < m.callers.size()) {
            const PracticeRow& caller = m.callers[i];
            listed.round = caller.round;
            listed.levelDb = caller.levelDb;
            listed.offsetMs = caller.offsetMs;
            listed.outcome = caller.outcome;
            listed.calls = caller.calls;
        }
        record_.rows.push_back(listed);
        // Only what was read counts: a character once its clip has started, so a
        // callsign the reader never began, or the rest of one stopped midway, was not missed.
        const std::string_view heard = firstUnits(listed.line, static_cast<std::size_t>(row.unitsRead));
        if (!listed.answer.empty() || !heard.empty()) {
            answered.push_back({listed.answer, std::string(heard)});
            kept.rows.push_back(listed);
            kept.rows.back().line = heard;  // its `read` column: what was spoken of it
        }
    }
    PracticeSettings settings = m.settings;
    settings.threshold = false;
    settings_ = settings;
    if (answered.empty()) {
        updateDrill();
        return;
    }
    thisRun_.addPractice(answered);
    if (keeper_.on()) keeper_.keep(kept, settings, drill_);
    reanalyse();
    updateDrill();
}

void PracticeReview::reanalyse() {
    // With the record on, what it holds: a practice of this run once it is in it.
    analysis_ = keeper_.on() ? keeper_.digest().analysis() : thisRun_;
}

void PracticeReview::setRecord(bool on) {
    if (on == keeper_.on()) return;
    if (on) keeper_.turnOn(settings_, drill_);
    else keeper_.turnOff();
    reanalyse();
    updateDrill();
}

void PracticeReview::deleteRecord() {
    if (!keeper_.deleteRecord() || !keeper_.on()) return;
    reanalyse();
    updateDrill();
}

std::optional<LearningSettings> PracticeReview::restoreRecord() {
    auto settings = keeper_.restore();
    if (settings) {
        reanalyse();
        updateDrill();
    }
    return settings;
}

void PracticeReview::rereadRecord() {
    if (!keeper_.on()) return;
    keeper_.reread();
    reanalyse();
    updateDrill();
}

void PracticeReview::setDrill(bool on) {
    drill_ = on;
    keeper_.drillChanged(on);
    updateDrill();
}

void PracticeReview::updateDrill() {
    if (!drill_) drillUnits_.clear();
    else if (keeper_.on()) drillUnits_ = drillFavourites(keeper_.boxes(), thisRun_, keeper_.today());
    else drillUnits_ = analysis_.weakest(3, 2);
}

bool PracticeReview::exportResults(const std::string& path) {
    if (!canExport()) return false;
    if (const OwnFile own = ownFileAt(path); own != OwnFile::none) {
        host_.messageBox("导出成绩", "无法写入 " + path + ":" + (own == OwnFile::record ? "这是学习记录" : "这是学习记录的设置文件") +
                                          "，导出的成绩不能替换它。");
        return false;
    }
    std::string error;
    auto file = OutputFile::create(path, error);
    if (file && file->write(resultsCsv(record_), error) && file->commit(error)) return true;
    host_.messageBox("导出成绩", "无法写入 " + path + ":" + error);
    return false;
}

}  // namespace tessaly
