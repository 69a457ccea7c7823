#include "review/threshold_run.h"

#include "base/practice_settings.h"

#include <cstdio>

namespace tessaly {

bool ThresholdRun::start(int groupsAsked) {
    result_.reset();
    staircase_.reset();
    snrs_.clear();
    judged_.clear();
    if (!armed_) return false;
    staircase_.emplace(Staircase::trialsFor(groupsAsked));
    judged_.assign(static_cast<std::size_t>(staircase_->trials()), false);
    return true;
}

std::optional<double> ThresholdRun::callsignBegins(int line) {
    if (!staircase_ || line > staircase_->trials()) return std::nullopt;
    // Callsign k is trial k: its SNR was fixed by the answer to the one before.
    const auto& fixed = staircase_->snrs();
    const double snr = static_cast<std::size_t>(line) <= fixed.size() ? fixed[static_cast<std::size_t>(line - 1)]
                                                                      : staircase_->snrDb();
    snrs_.push_back(snr);
    return snr;
}

std::optional<double> ThresholdRun::answered(int row, bool copied) {
    if (!staircase_ || row < 1 || row > staircase_->trials() || judged_[static_cast<std::size_t>(row - 1)])
        return std::nullopt;
    judged_[static_cast<std::size_t>(row - 1)] = true;
    staircase_->answer(copied);
    return staircase_->snrDb();
}

std::optional<ThresholdEstimate> ThresholdRun::finish() {
    if (!staircase_) return std::nullopt;
    const auto estimate = staircase_->threshold();
    if (estimate) result_ = ThresholdResult{*estimate, snrs_};
    staircase_.reset();
    return estimate;
}

std::string ThresholdRun::resultText(const ThresholdEstimate& e, std::optional<int> level) {
    char text[128];
    std::snprintf(text, sizeof text, "本次阈值 %s dB（±%s）", snrText(e.snrDb).c_str(), snrText(e.se).c_str());
    const std::string line = text;
    if (!level) return line;
    if (*level >= 6) return line + "，噪音比 S5 还强";
    if (*level <= 0) return line + "，噪音比 S1 还弱";
    return line + "，约 S" + std::to_string(*level);
}

}  // namespace tessaly
