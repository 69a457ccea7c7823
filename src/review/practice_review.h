#pragma once
// The form's practice review: learning from each marked practice. A marked row's
// callsign can be heard again; every marking adds to an error analysis of each
// character read; a drill makes the next practice sets favour the weakest
// characters; and the marked list can be kept as a results file. While the
// learning record is on (learning_keeper.h), each marked practice goes into it
// too, and the analysis and the drill take the whole record into account. All of it
// is an addition: with none of it used, the practice runs exactly as without it.
#include "learning/error_analysis.h"
#include "learning/learning_settings.h"
#include "learning/practice_record.h"
#include "practice/form_state.h"
#include "review/learning_keeper.h"
#include "review/threshold_run.h"
#include "speech/speech_output.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

class PracticeReview {
public:
    PracticeReview(FormState& form, SpeechOutput& speech, LearningKeeper& keeper);

    // Hooked to the form: Start (before the set is made, and once it is set up), each
    // callsign the reader begins, each answer stored, and every marking of the list.
    void starting();
    void started();
    void callsignBegins();
    void answered(int row);
    void marked();

    // The threshold run of this practice, or of the last one marked.
    const ThresholdRun& thresholdRun() const { return threshold_; }

    // Reads row `row`'s callsign once more, at the reader's pace, with the current
    // word set, speed and tone. False (nothing happens) while a practice runs, when
    // the list is not marked, or for a row without a callsign.
    bool replay(int row);
    bool canReplay(int row) const;
    void ReplayTimer_Timer();

    // The drill: while on, the random generator favours the weakest characters (with
    // the record on, the due characters of the whole record: drillFavourites()).
    void setDrill(bool on);
    bool drill() const { return drill_; }

    // The learning record (保存学习记录): on, each marked practice is appended to it.
    void setRecord(bool on);
    bool recording() const { return keeper_.on(); }
    // 删除学习记录…: after a question.
    void deleteRecord();
    // At start: the record on again when the settings file says so; its settings.
    std::optional<LearningSettings> restoreRecord();
    const LearningKeeper& keeper() const { return keeper_; }
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
    // Plays one clip in the replay's own voice, as the reader starts its clips.
    void speak(const std::string& clipName);

    FormState& f;
    SpeechOutput& speech_;
    ThresholdRun threshold_{f};
    Timer replayTimer_{"ReplayTimer", 13};
    std::string startedAt_;               // "YYYY-MM-DD HH:MM:SS"
    bool recorded_ = true;                // this practice is in the analysis already
    PracticeRecord record_;               // the marked list, with its settings
    std::optional<PracticeSettings> settings_;  // those of the last practice marked
    ErrorAnalysis analysis_;              // what analysis() gives
    ErrorAnalysis thisRun_;               // every practice marked since the start
    LearningKeeper& keeper_;
    bool drill_ = false;
    std::string replayText_;
    std::size_t replayAt_ = 0;
    // The replay's own voice: the reader's clip buffer and tone are left alone.
    std::shared_ptr<SoundBuffer> replayBuffer_;
    std::shared_ptr<ParamEq> replayTone_;
};

}  // namespace tessaly
