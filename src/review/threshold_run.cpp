#include "review/threshold_run.h"

#include "base/practice_settings.h"
#include "learning/alignment.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {

bool ThresholdRun::start(int groupsAsked, std::optional<double> lastThresholdDb) {
    result_.reset();
    plan_.reset();
    snrs_.clear();
    judged_.clear();
    if (!armed_) return false;
    plan_.emplace(ThresholdRunPlan::trialsFor(groupsAsked), ThresholdRunPlan::startFor(lastThresholdDb));
    judged_.assign(static_cast<std::size_t>(plan_->trials()), false);
    return true;
}

std::optional<double> ThresholdRun::callsignBegins(int line) {
    if (!plan_ || line > plan_->trials()) return std::nullopt;
    // Callsign k is trial k: its SNR was fixed by the answer to the one before.
    const auto& fixed = plan_->snrs();
    const double snr = static_cast<std::size_t>(line) <= fixed.size() ? fixed[static_cast<std::size_t>(line - 1)]
                                                                      : plan_->snrDb();
    snrs_.push_back(snr);
    return snr;
}

std::optional<ThresholdRun::Scored> ThresholdRun::answered(int row, const std::string& answer, const std::string& line) {
    if (!plan_ || row < 1 || row > plan_->trials() || judged_[static_cast<std::size_t>(row - 1)]) return std::nullopt;
    judged_[static_cast<std::size_t>(row - 1)] = true;
    // A character is copied when it stands right in the answer, as the error analysis sees it.
    const Alignment aligned = align(answer, unitsRead(line));
    const int read = static_cast<int>(aligned.units.size());
    const int copied = static_cast<int>(std::count_if(aligned.units.begin(), aligned.units.end(),
                                                      [](const UnitCopy& u) { return u.copy == Copy::copied; }));
    const double snr = plan_->snrDb();
    plan_->answer(read, copied);
    return Scored{{snr, read, copied}, plan_->snrDb()};
}

std::optional<ThresholdEstimate> ThresholdRun::finish() {
    if (!plan_) return std::nullopt;
    const auto estimate = plan_->threshold();
    if (estimate) result_ = ThresholdResult{*estimate, snrs_, plan_->answers()};
    plan_.reset();
    return estimate;
}

std::string ThresholdRun::resultText(const ThresholdEstimate& e, std::optional<int> level) {
    char text[160];
    std::snprintf(text, sizeof text, "本次字符阈值 %s dB（±%s）", snrText(e.snrDb).c_str(), snrText(e.se).c_str());
    std::string line = text;
    if (level) {
        if (*level >= 6) line += "，噪音比 S5 还强";
        else if (*level <= 0) line += "，噪音比 S1 还弱";
        else line += "，约 S" + std::to_string(*level);
    }
    return line + "\n整个呼号抄对一半约在 " + snrText(e.wholeSnrDb) + " dB";
}

}  // namespace tessaly
