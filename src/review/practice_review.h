#pragma once
// Learning from each marked practice: every marking adds to an error analysis of
// each character read; a drill makes the next practice sets favour the weakest
// characters; and the marked list can be kept as a results file. While the learning
// record is on (learning_keeper.h), each marked practice goes into it too, and the
// analysis and the drill take the whole record into account. All of it is an
// addition: with none of it used, the practice runs exactly as without it.
#include "learning/error_analysis.h"
#include "learning/learning_settings.h"
#include "learning/practice_record.h"
#include "practice/practice.h"
#include "review/learning_keeper.h"
#include "review/threshold_run.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// A practice as it was marked: its rows, its settings, how long it ran, and the
// threshold run it was, if it was one.
struct MarkedPractice {
    const std::vector<CallsignRow>& rows;
    int groupCount = 0;
    PracticeSettings settings;  // threshold: whether it was a threshold run
    int seconds = 0;
    const std::optional<ThresholdResult>& threshold;
    // A pile-up: row by row, how its caller went (round, level, start, outcome, calls).
    std::vector<PracticeRow> callers{};
};

class PracticeReview {
public:
    PracticeReview(FormHost& host, LearningKeeper& keeper) : host_(host), keeper_(keeper) {}

    // A practice has started: it is marked once, whatever stops it.
    void started();
    // False once this practice has been taken (an answer past the last row stops and
    // marks, then marks again).
    bool awaitsMarking() const { return !recorded_; }
    void marked(const MarkedPractice& practice);

    // The drill: while on, the random generator favours the weakest characters (with
    // the record on, the due characters of the whole record).
    void setDrill(bool on);
    bool drill() const { return drill_; }
    // The characters the next practice set favours; empty unless the drill is on and
    // there is enough history.
    const std::vector<std::string>& drillUnits() const { return drillUnits_; }

    // The learning record (保存学习记录): on, each marked practice is appended to it.
    void setRecord(bool on);
    bool recording() const { return keeper_.on(); }
    // 删除学习记录…: after a question.
    void deleteRecord();
    // At start: the record on again when the settings file says so; its settings.
    std::optional<LearningSettings> restoreRecord();
    const LearningKeeper& keeper() const { return keeper_; }
    LearningKeeper& keeper() { return keeper_; }
    // Reads the record again, for a window about to show it.
    void rereadRecord();

    // The marked list as a results file; a message box says why when it cannot be
    // written, and a file already there is then left as it was.
    bool canExport() const { return !record_.rows.empty(); }
    bool exportResults(const std::string& path);

    // Every marked practice since the program started; with the record on, every
    // practice the record holds (those of this run once they are in it).
    const ErrorAnalysis& analysis() const { return analysis_; }
    const PracticeRecord& lastRecord() const { return record_; }

private:
    void updateDrill();
    // The analysis over the record while it is on, else over this run.
    void reanalyse();

    FormHost& host_;
    LearningKeeper& keeper_;
    std::string startedAt_;                     // "YYYY-MM-DD HH:MM:SS"
    bool recorded_ = true;                      // this practice is in the analysis already
    PracticeRecord record_;                     // the marked list, with its settings
    std::optional<PracticeSettings> settings_;  // those of the last practice marked
    ErrorAnalysis analysis_;                    // what analysis() gives
    ErrorAnalysis thisRun_;                     // every practice marked since the start
    bool drill_ = false;
    std::vector<std::string> drillUnits_;
};

}  // namespace tessaly
