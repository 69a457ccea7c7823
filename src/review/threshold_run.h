#pragma once
// The threshold run: a grouped practice whose band noise follows the answers, so as
// to find the signal-to-noise ratio at which the learner copies half of the
// characters (learning/threshold_estimate.h has the model and the rule). It starts
// with the practice when 阈值测试 is ticked (armed); each confirmed answer is scored
// by character against the callsign read and fixes the SNR of the next callsign;
// when the list is marked with every answer given, the threshold is found. Stopped
// before the end, the run finds nothing.
#include "learning/threshold_estimate.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct ThresholdResult {
    ThresholdEstimate estimate;
    std::vector<double> snrs;              // each callsign's SNR, dB, in order
    std::vector<ThresholdTrial> answered;  // each answer: its SNR, characters read and copied
};

class ThresholdRun {
public:
    // How the threshold is found: characters scored, a model fitted.
    static constexpr const char* kMethod = "characters";

    // 阈值测试: the next Start begins a run.
    void arm(bool on) { armed_ = on; }
    bool armed() const { return armed_; }

    // Start, before the practice set is made: a run begins when armed, of the trials
    // a group count of `groupsAsked` gives, from 4 dB above `lastThresholdDb` (the
    // learner's last under the same conditions) or else +6 dB. True when it began.
    bool start(int groupsAsked, std::optional<double> lastThresholdDb = std::nullopt);
    bool running() const { return plan_.has_value(); }
    // The callsigns the run reads.
    int trials() const { return plan_ ? plan_->trials() : 0; }
    // The SNR fixed for the callsign to come.
    double nextSnr() const { return plan_ ? plan_->snrDb() : 0; }
    // The reader begins callsign `line` (from 1): the SNR it is read at, fixed by the
    // answer before; none past the run.
    std::optional<double> callsignBegins(int line);
    // The answer in row `row` to the practice-text line `line`, scored: the trial as
    // it went and the next SNR; none when the row is no trial, or was judged already.
    struct Scored {
        ThresholdTrial trial;
        double nextSnrDb = 0;
    };
    std::optional<Scored> answered(int row, const std::string& answer, const std::string& line);
    // The list was marked: the run ends, with its threshold when it was complete.
    std::optional<ThresholdEstimate> finish();

    // The last run's result, while no other practice has started.
    const std::optional<ThresholdResult>& result() const { return result_; }
    // "本次字符阈值 -3.5 dB（±0.8），约 S3" and, under it, the whole callsigns' figure,
    // for the list's tooltip and the window's result box; the nearest level button
    // when it is known.
    static std::string resultText(const ThresholdEstimate& estimate, std::optional<int> level);
    // The same place's line for a run stopped before its last answer.
    static constexpr const char* kNotFound = "阈值测试没有做完，没有得出阈值";

private:
    bool armed_ = false;
    std::optional<ThresholdRunPlan> plan_;
    std::vector<double> snrs_;  // of the callsigns begun so far
    std::vector<bool> judged_;  // by row: its answer has moved the plan
    std::optional<ThresholdResult> result_;
};

}  // namespace tessaly
