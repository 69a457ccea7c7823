#include "learning/staircase.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessaly {
namespace {

// The slopes a listener is allowed, as the logistic's k (per dB): p(x) = 1 / (1 +
// exp(-k (x - m))) has the slope k / 4 at its midpoint, so 2 % .. 25 % per dB.
constexpr double kShallowestK = 4 * 0.02;
constexpr double kSteepestK = 4 * 0.25;

constexpr int kSlopeSteps = 60;  // slopes tried, evenly on a log scale (4.3 % apart)

double logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }

// The answers as a logistic regression, p = logistic(a + k x), fitted by the
// likelihood with Jeffreys' penalty (Firth's bias reduction): log L + log det I / 2,
// I the Fisher information of (a, k). Plain maximum likelihood finds too steep a
// slope in a run of 10 to 50 answers (so too small an error), and none at all when
// the answers separate cleanly; the penalty removes most of that bias and always
// has a finite peak.
class PenalisedFit {
public:
    PenalisedFit(const std::vector<double>& snrs, const std::vector<bool>& answers)
        : x_(snrs.begin(), snrs.begin() + static_cast<std::ptrdiff_t>(answers.size())), y_(answers) {}

    // The slope k of the best fit within the bounds: every slope of a fine grid,
    // each with its best intercept (golden section; one peak for a given slope).
    double bestK() const {
        const auto [xLo, xHi] = std::minmax_element(x_.begin(), x_.end());
        double bestK = kShallowestK, best = -INFINITY;
        for (int i = 0; i <= kSlopeSteps; ++i) {
            const double k = kShallowestK * std::pow(kSteepestK / kShallowestK, static_cast<double>(i) / kSlopeSteps);
            constexpr double kGolden = 0.6180339887498949;
            // The midpoint -a / k anywhere from 30 dB below the lowest SNR to 30 dB above the highest.
            double lo = -k * (*xHi + 30), hi = -k * (*xLo - 30);
            double a1 = hi - kGolden * (hi - lo), a2 = lo + kGolden * (hi - lo);
            double f1 = penalised(a1, k), f2 = penalised(a2, k);
            for (int step = 0; step < 50; ++step) {
                if (f1 < f2) {
                    lo = a1, a1 = a2, f1 = f2;
                    a2 = lo + kGolden * (hi - lo), f2 = penalised(a2, k);
                } else {
                    hi = a2, a2 = a1, f2 = f1;
                    a1 = hi - kGolden * (hi - lo), f1 = penalised(a1, k);
                }
            }
            if (const double f = std::max(f1, f2); f > best) best = f, bestK = k;
        }
        return bestK;
    }

private:
    double penalised(double a, double k) const {
        double logL = 0, i00 = 0, i01 = 0, i11 = 0;
        for (std::size_t t = 0; t < x_.size(); ++t) {
            const double eta = a + k * x_[t];
            // log p and log (1 - p) without rounding either to 0 far from the midpoint.
            logL -= std::log1p(std::exp(y_[t] ? -eta : eta));
            const double p = logistic(eta), w = p * (1 - p);
            i00 += w, i01 += w * x_[t], i11 += w * x_[t] * x_[t];
        }
        return logL + 0.5 * std::log(std::max(i00 * i11 - i01 * i01, 1e-300));
    }

    std::vector<double> x_;
    std::vector<bool> y_;
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
    // Trials 5 .. N and the next one's SNR: snrs_[4] .. snrs_[N].
    const auto first = snrs_.begin() + (kFirstCounted - 1);
    const int counted = static_cast<int>(snrs_.end() - first);
    const double mean = std::accumulate(first, snrs_.end(), 0.0) / counted;
    return ThresholdEstimate{mean, staircaseStandardError(snrs_, answers_, counted), trials_};
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
