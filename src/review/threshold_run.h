#pragma once
// The threshold run: a grouped practice whose band noise follows the answers, so as
// to find the signal-to-noise ratio at which the learner copies half of the
// callsigns (learning/staircase.h has the rule). It starts with the practice when
// 阈值测试 is ticked; each confirmed answer, marked as the list marks it, fixes the
// SNR of the next callsign; when the list is marked with every answer given, the
// threshold is found. Stopped before the end, the run finds nothing.
#include "learning/staircase.h"
#include "practice/form_state.h"

#include <optional>
#include <vector>

namespace tessaly {

struct ThresholdResult {
    ThresholdEstimate estimate;
    std::vector<double> snrs;  // each callsign's SNR, dB, in order
};

class ThresholdRun {
public:
    explicit ThresholdRun(FormState& form) : f(form) {}

    // Start, before the practice set is made: a run begins if it is asked for.
    void starting();
    // The reader begins callsign `line` (from 1).
    void callsignBegins(int line);
    // An answer was stored in row `row`.
    void answered(int row);
    // The list was marked: the run ends, with its threshold when it was complete.
    void marked();

    bool running() const { return f.thresholdRunning; }
    // The last run's result, while no other practice has started.
    const std::optional<ThresholdResult>& result() const { return result_; }
    // Each row's SNR of the practice now marked (empty rows: none), for its record.
    std::optional<double> snrOfRow(int row) const;
    // "本次阈值 -3.5 dB (±0.8),约 S3", for the list's tooltip and the window's result
    // box; the nearest level button when it is known.
    static std::string resultText(const ThresholdEstimate& estimate, std::optional<int> level);
    // The last run's line, as the summary shows it.
    const std::string& summary() const { return f.summaryAddition; }

private:
    void end();

    FormState& f;
    std::optional<Staircase> staircase_;
    std::vector<double> snrs_;           // of the callsigns begun so far
    std::vector<bool> judged_;           // by row: its answer has moved the staircase
    std::optional<ThresholdResult> result_;
};

}  // namespace tessaly
