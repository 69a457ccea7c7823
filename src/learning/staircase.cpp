#include "learning/staircase.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace tessaly {
namespace {

// The slopes a listener is allowed, as the logistic's k (per dB): p(x) = 1 / (1 +
// exp(-k (x - m))) has the slope k / 4 at its midpoint, so 2 % .. 25 % per dB.
constexpr double kShallowestK = 4 * 0.02;
constexpr double kSteepestK = 4 * 0.25;

constexpr int kSlopeSteps = 24;   // slopes tried first, evenly on a log scale (11 % apart)
constexpr int kGoldenSteps = 32;  // golden-section steps: the bracket shrinks to 2e-7 of its width

// The peak of a function with one peak in [lo, hi], by golden section.
template <typename F>
std::pair<double, double> peak(F f, double lo, double hi) {
    constexpr double kGolden = 0.6180339887498949;
    double x1 = hi - kGolden * (hi - lo), x2 = lo + kGolden * (hi - lo);
    double f1 = f(x1), f2 = f(x2);
    for (int step = 0; step < kGoldenSteps; ++step) {
        if (f1 < f2) {
            lo = x1, x1 = x2, f1 = f2;
            x2 = lo + kGolden * (hi - lo), f2 = f(x2);
        } else {
            hi = x2, x2 = x1, f2 = f1;
            x1 = hi - kGolden * (hi - lo), f1 = f(x1);
        }
    }
    return f1 < f2 ? std::pair{x2, f2} : std::pair{x1, f1};
}

// The answers as a logistic regression, p = logistic(a + k x), fitted by the
// likelihood with Jeffreys' penalty (Firth's bias reduction): log L + log det I / 2,
// I the Fisher information of (a, k). Plain maximum likelihood finds too steep a
// slope in a run of 10 to 50 answers (so too small an error), and none at all when
// the answers separate cleanly; the penalty removes most of that bias and always
// has a finite peak.
class PenalisedFit {
public:
    PenalisedFit(const std::vector<double>& snrs, const std::vector<bool>& answers)
        : x_(snrs.begin(), snrs.begin() + static_cast<std::ptrdiff_t>(answers.size())), y_(answers) {
        const auto [lo, hi] = std::minmax_element(x_.begin(), x_.end());
        xLo_ = *lo, xHi_ = *hi;
    }

    // The slope k of the best fit within the bounds: a coarse grid of slopes, then
    // golden section between the best one's neighbours.
    double bestK() const {
        const auto k = [](int i) { return kShallowestK * std::pow(kSteepestK / kShallowestK, static_cast<double>(i) / kSlopeSteps); };
        int best = 0;
        double bestFit = -INFINITY;
        for (int i = 0; i <= kSlopeSteps; ++i)
            if (const double fit = profile(k(i)); fit > bestFit) bestFit = fit, best = i;
        const auto [refined, refinedFit] = peak([this](double slope) { return profile(slope); }, k(std::max(best - 1, 0)),
                                                k(std::min(best + 1, kSlopeSteps)));
        return refinedFit > bestFit ? refined : k(best);
    }

private:
    // The penalised likelihood at slope k with its best intercept; the midpoint -a / k
    // anywhere from 30 dB below the lowest SNR to 30 dB above the highest.
    double profile(double k) const {
        return peak([&](double a) { return penalised(a, k); }, -k * (xHi_ + 30), -k * (xLo_ - 30)).second;
    }

    double penalised(double a, double k) const {
        double logL = 0, i00 = 0, i01 = 0, i11 = 0;
        for (std::size_t t = 0; t < x_.size(); ++t) {
            const double eta = a + k * x_[t];
            // log p and log (1 - p) from one exponential, neither rounded to 0 far from the midpoint.
            const double e = std::exp(-std::abs(eta));
            const double p = eta >= 0 ? 1 / (1 + e) : e / (1 + e);
            const bool agrees = y_[t] == (eta >= 0);  // the answer is the likelier one
            logL -= agrees ? std::log1p(e) : std::abs(eta) + std::log1p(e);
            const double w = p * (1 - p);
            i00 += w, i01 += w * x_[t], i11 += w * x_[t] * x_[t];
        }
        return logL + 0.5 * std::log(std::max(i00 * i11 - i01 * i01, 1e-300));
    }

    std::vector<double> x_;
    std::vector<bool> y_;
    double xLo_ = 0, xHi_ = 0;
};

}  // namespace

int Staircase::trialsFor(int groups) { return std::clamp(groups, kFewestTrials, kMostTrials); }

Staircase::Staircase(int trials) : trials_(trialsFor(trials)) {
    snrs_.reserve(static_cast<std::size_t>(trials_) + 1);
    answers_.reserve(static_cast<std::size_t>(trials_));
    snrs_.push_back(kStartDb);
}

void Staircase::answer(bool copied) {
    if (finished()) return;
    if (!copied) missedOnce_ = true;
    const double step = missedOnce_ ? kStepDb : kFirstStepDb;
    answers_.push_back(copied);
    snrs_.push_back(std::clamp(snrs_.back() + (copied ? -step : step), kLowestDb, kHighestDb));
}

std::optional<ThresholdEstimate> Staircase::threshold() const {
    if (!finished()) return std::nullopt;
    if (threshold_) return threshold_;
    // Trials 5 .. N and the next one's SNR: snrs_[4] .. snrs_[N].
    const auto first = snrs_.begin() + (kFirstCounted - 1);
    const int counted = static_cast<int>(snrs_.end() - first);
    const double mean = std::accumulate(first, snrs_.end(), 0.0) / counted;
    threshold_ = ThresholdEstimate{mean, staircaseStandardError(snrs_, answers_, counted), trials_};
    return threshold_;
}

double staircaseStandardError(const std::vector<double>& snrs, const std::vector<bool>& answers, int counted) {
    if (counted <= 0 || answers.empty() || snrs.size() < answers.size()) return 0;
    const bool someRight = std::find(answers.begin(), answers.end(), true) != answers.end();
    const bool someWrong = std::find(answers.begin(), answers.end(), false) != answers.end();
    // All right or all wrong: the threshold lies outside the run; nothing tells the
    // slope, so the shallowest allowed gives the widest (honest) error.
    const double bestK = someRight && someWrong ? PenalisedFit(snrs, answers).bestK() : kShallowestK;
    const double slope = bestK / 4;  // per dB at the midpoint
    return 1.0 / (2.0 * slope * std::sqrt(static_cast<double>(counted)));
}

}  // namespace tessaly
