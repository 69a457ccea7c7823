#include "review/threshold_run.h"

#include "base/lines.h"
#include "base/practice_settings.h"
#include "practice/answers.h"
#include "practice/settings_of_form.h"

#include <cstdio>

namespace tessaly {

void ThresholdRun::starting() {
    result_.reset();
    staircase_.reset();
    snrs_.clear();
    judged_.clear();
    f.thresholdRunning = f.additions.threshold;
    if (!f.thresholdRunning) return;
    staircase_.emplace(Staircase::trialsFor(groupsWanted(f.Text2.text())));
    f.thresholdTrials = staircase_->trials();
    f.callsignSnrDb = staircase_->snrDb();
    judged_.assign(static_cast<std::size_t>(f.thresholdTrials), false);
    // The noise follows the run alone: its level buttons and random variation wait.
    for (OptionButton* o : {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6}) o->enabled = false;
    f.Check4.enabled = false;
}

void ThresholdRun::callsignBegins(int line) {
    if (!staircase_ || line > f.thresholdTrials) return;
    // Callsign k is trial k: its SNR was fixed by the answer to the one before.
    const auto& fixed = staircase_->snrs();
    const double snr = static_cast<std::size_t>(line) <= fixed.size() ? fixed[static_cast<std::size_t>(line - 1)]
                                                                      : staircase_->snrDb();
    f.callsignSnrDb = snr;
    snrs_.push_back(snr);
    f.host().trialBegins(line, snr);
}

void ThresholdRun::answered(int row) {
    if (!staircase_ || row < 1 || row > f.thresholdTrials || judged_[static_cast<std::size_t>(row - 1)]) return;
    judged_[static_cast<std::size_t>(row - 1)] = true;
    // Marked as the list will mark it: the whole callsign, exactly.
    const std::string expected = ExpectedCopy(readline(f.Text1.text(), row));
    staircase_->answer(f.ListView1.rows[static_cast<std::size_t>(row - 1)][1] == expected);
    f.callsignSnrDb = staircase_->snrDb();
}

void ThresholdRun::marked() {
    if (!staircase_) {
        f.summaryAddition.clear();  // a practice without a run has its summary alone
        return;
    }
    f.summaryAddition.clear();
    if (const auto estimate = staircase_->threshold()) {
        result_ = ThresholdResult{*estimate, snrs_};
        f.summaryAddition = resultText(*estimate, f.noiseLevelNear ? f.noiseLevelNear(estimate->snrDb) : std::nullopt);
        f.host().thresholdFound(estimate->snrDb, estimate->se, estimate->trials);
    }
    end();
}

void ThresholdRun::end() {
    staircase_.reset();
    f.thresholdRunning = false;
    f.callsignSnrDb = f.additions.snrDb;
    const bool buttons = f.Check4.value != 1 && !f.additions.snrDb;
    for (OptionButton* o : {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6}) o->enabled = buttons;
    f.Check4.enabled = true;
}

std::optional<double> ThresholdRun::snrOfRow(int row) const {
    if (!result_ || row < 1 || static_cast<std::size_t>(row) > result_->snrs.size()) return std::nullopt;
    return result_->snrs[static_cast<std::size_t>(row - 1)];
}

std::string ThresholdRun::resultText(const ThresholdEstimate& e, std::optional<int> level) {
    char text[128];
    std::snprintf(text, sizeof text, "本次阈值 %s dB (±%s)", snrText(e.snrDb).c_str(), snrText(e.se).c_str());
    const std::string line = text;
    if (!level) return line;
    if (*level >= 6) return line + ",噪音比 S5 还强";
    if (*level <= 0) return line + ",噪音比 S1 还弱";
    return line + ",约 S" + std::to_string(*level);
}

}  // namespace tessaly
