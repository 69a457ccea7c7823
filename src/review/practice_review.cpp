#include "review/practice_review.h"

#include "base/lines.h"
#include "base/output_file.h"
#include "learning/drill.h"
#include "learning/own_files.h"
#include "learning/read_units.h"
#include "learning/results_csv.h"
#include "practice/answers.h"
#include "practice/reading_pace.h"
#include "practice/settings_of_form.h"

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

PracticeReview::PracticeReview(FormState& form, SpeechOutput& speech, LearningKeeper& keeper)
    : f(form), speech_(speech), keeper_(keeper) {
    replayTimer_.attach(&f.clock(), [this] { ReplayTimer_Timer(); });
    replayTimer_.setEnabled(false);
}

void PracticeReview::starting() { threshold_.starting(); }

void PracticeReview::callsignBegins() { threshold_.callsignBegins(f.linesStarted); }

void PracticeReview::answered(int row) { threshold_.answered(row); }

void PracticeReview::started() {
    startedAt_ = localTime(f.host().now());
    recorded_ = false;
    replayTimer_.setEnabled(false);
}

void PracticeReview::marked() {
    // Marking can run twice for one practice (an answer past the last row stops and marks, then marks again).
    if (recorded_) return;
    recorded_ = true;
    const bool thresholdRun = threshold_.running();
    threshold_.marked();
    record_ = {};
    record_.id = newPracticeId();  // the same in an export and in the learning record
    record_.date = startedAt_.substr(0, 10);
    record_.time = startedAt_.substr(11);
    PracticeSettings settings = settingsOf(f);
    settings.threshold = thresholdRun;
    setRecordSettings(record_, settings);
    if (thresholdRun) record_.noise = "snr";  // the run set the noise, callsign by callsign
    record_.seconds = f.elapsedSeconds;
    if (const auto& result = threshold_.result()) {
        record_.thresholdDb = result->estimate.snrDb;
        record_.thresholdSe = result->estimate.se;
    }

    std::vector<AnsweredLine> answered;
    PracticeRecord kept = record_;  // for the learning record: what was read or answered
    kept.rows.clear();
    const LineIndex lines(f.Text1.text());
    std::size_t unitsLeft = static_cast<std::size_t>(f.unitsStarted);
    for (std::size_t i = 0; i < f.ListView1.rows.size() && static_cast<int>(i) < f.groupCount; ++i) {
        const auto& row = f.ListView1.rows[i];
        PracticeRow listed;
        listed.number = static_cast<int>(i) + 1;
        listed.answer = row[1];
        listed.expected = row[2];
        listed.copied = row[3] == "Y";
        listed.line = std::string(lines.line(listed.number));
        listed.snrDb = thresholdRun ? threshold_.snrOfRow(listed.number) : settings.snrDb;
        record_.rows.push_back(listed);
        // Only what was read counts: a character once its clip has started, so a
        // callsign the reader never began, or the rest of one stopped midway, was not missed.
        const std::string_view heard = firstUnits(listed.line, unitsLeft);
        unitsLeft -= std::min(unitsLeft, unitsRead(heard).size());
        if (!listed.answer.empty() || !heard.empty()) {
            answered.push_back({listed.answer, std::string(heard)});
            kept.rows.push_back(listed);
            kept.rows.back().line = heard;  // its `read` column: what was spoken of it
        }
    }
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

bool PracticeReview::canReplay(int row) const {
    return !f.practising && row >= 1 && static_cast<std::size_t>(row) <= record_.rows.size() &&
           f.ListView1.rows.size() == record_.rows.size() && !f.ListView1.rows[static_cast<std::size_t>(row - 1)][3].empty() &&
           !record_.rows[static_cast<std::size_t>(row - 1)].line.empty();
}

bool PracticeReview::replay(int row) {
    if (!canReplay(row)) return false;
    replayText_ = record_.rows[static_cast<std::size_t>(row - 1)].line;
    replayAt_ = 0;
    // The first character at once, the rest at the reader's pace.
    ReplayTimer_Timer();
    replayTimer_.setInterval(readerIntervalMs(f.Slider1.value));
    replayTimer_.setEnabled(replayAt_ < replayText_.size());
    return true;
}

void PracticeReview::ReplayTimer_Timer() {
    if (f.practising || replayAt_ >= replayText_.size()) {
        replayTimer_.setEnabled(false);
        return;
    }
    speak(speech_.ResToStr(replayText_.substr(replayAt_++, 1)));
    if (replayAt_ >= replayText_.size()) replayTimer_.setEnabled(false);
}

void PracticeReview::speak(const std::string& clipName) {
    f.host().clipStarted(clipName, f.fadeLevel, kClipFrequency);
    speech_.ReopenDevice();
    replayBuffer_ = f.ds ? f.ds->createBufferFromResource(clipName, kFlagsWithTone) : nullptr;
    if (!replayBuffer_) return;
    replayBuffer_->setFxParamEq();
    replayTone_ = replayBuffer_->paramEqInPath(0);
    if (replayTone_) replayTone_->setAllParameters(toneBoost(f.Slider2.value));
    replayBuffer_->setVolume(f.fadeLevel);
    replayBuffer_->setFrequency(kClipFrequency);
    replayBuffer_->play(false);
}

void PracticeReview::setDrill(bool on) {
    drill_ = on;
    keeper_.drillChanged(on);
    updateDrill();
}

void PracticeReview::updateDrill() {
    if (!drill_) f.drillUnits.clear();
    else if (keeper_.on()) f.drillUnits = drillFavourites(keeper_.boxes(), thisRun_, keeper_.today());
    else f.drillUnits = analysis_.weakest(3, 2);
}

bool PracticeReview::exportResults(const std::string& path) {
    if (!canExport()) return false;
    if (const OwnFile own = ownFileAt(path); own != OwnFile::none) {
        f.host().messageBox("导出成绩", "无法写入 " + path + ":" + (own == OwnFile::record ? "这是学习记录" : "这是学习记录的设置文件") +
                                          "，导出的成绩不能替换它。");
        return false;
    }
    std::string error;
    auto file = OutputFile::create(path, error);
    if (file && file->write(resultsCsv(record_), error) && file->commit(error)) return true;
    f.host().messageBox("导出成绩", "无法写入 " + path + ":" + error);
    return false;
}

}  // namespace tessaly
