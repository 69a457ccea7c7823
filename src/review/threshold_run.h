#pragma once
// The threshold run: a grouped practice whose band noise follows the answers, so as
// to find the signal-to-noise ratio at which the learner copies half of the
// callsigns (learning/staircase.h has the rule). It starts with the practice when
// 阈值测试 is ticked (armed); each confirmed answer, marked as the list marks it, fixes
// the SNR of the next callsign; when the list is marked with every answer given, the
// threshold is found. Stopped before the end, the run finds nothing.
#include "learning/staircase.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct ThresholdResult {
    ThresholdEstimate estimate;
    std::vector<double> snrs;  // each callsign's SNR, dB, in order
};

class ThresholdRun {
public:
    // 阈值测试: the next Start begins a run.
    void arm(bool on) { armed_ = on; }
    bool armed() const { return armed_; }

    // Start, before the practice set is made: a run begins when armed, of the trials
    // a group count of `groupsAsked` gives. True when it began.
    bool start(int groupsAsked);
    bool running() const { return staircase_.has_value(); }
    // The callsigns the run reads.
    int trials() const { return staircase_ ? staircase_->trials() : 0; }
    // The SNR the staircase has fixed for the callsign to come.
    double nextSnr() const { return staircase_ ? staircase_->snrDb() : 0; }
    // The reader begins callsign `line` (from 1): the SNR it is read at, fixed by the
    // answer before; none past the run.
    std::optional<double> callsignBegins(int line);
    // The answer in row `row` was marked `copied` (the whole callsign, exactly): the
    // next SNR; none when the row is no trial, or was judged already.
    std::optional<double> answered(int row, bool copied);
    // The list was marked: the run ends, with its threshold when it was complete.
    std::optional<ThresholdEstimate> finish();

    // The last run's result, while no other practice has started.
    const std::optional<ThresholdResult>& result() const { return result_; }
    // "本次阈值 -3.5 dB（±0.8），约 S3", for the list's tooltip and the window's result
    // box; the nearest level button when it is known.
    static std::string resultText(const ThresholdEstimate& estimate, std::optional<int> level);
    // The same place's line for a run stopped before its last answer.
    static constexpr const char* kNotFound = "阈值测试没有做完，没有得出阈值";

private:
    bool armed_ = false;
    std::optional<Staircase> staircase_;
    std::vector<double> snrs_;  // of the callsigns begun so far
    std::vector<bool> judged_;  // by row: its answer has moved the staircase
    std::optional<ThresholdResult> result_;
};

}  // namespace tessaly
