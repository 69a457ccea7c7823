#include "learning/threshold_estimate.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaly {
namespace {

constexpr double kShallowest = 0.03;  // per dB
constexpr double kSteepest = 0.30;
constexpr int kSlopes = 10;
constexpr double kTypicalLength = 6;  // characters of a callsign, before any is read
constexpr int kMostRead = 16;  // characters an outcome is reckoned for
// Where the next callsign may go, about the threshold as it stands: dB.
constexpr double kCandidateOffsetsDb[] = {0, -1, 1, -2, 2, -3, 3, -5, 5, -8, 8};

}  // namespace

PsychometricPosterior::PsychometricPosterior(PsychometricGrid grid) : grid_(std::move(grid)) {
    if (grid_.slopes.empty())
        for (int i = 0; i < kSlopes; ++i)
            grid_.slopes.push_back(kShallowest * std::pow(kSteepest / kShallowest, static_cast<double>(i) / (kSlopes - 1)));
    const int n = static_cast<int>(std::floor((grid_.highDb - grid_.lowDb) / grid_.stepDb + 1e-9)) + 1;
    for (int i = 0; i < n; ++i) midpoints_.push_back(grid_.lowDb + i * grid_.stepDb);
    logPosterior_.assign(midpoints_.size() * grid_.slopes.size(), 0.0);
}

double PsychometricPosterior::chance(double snrDb, double m, double s) const {
    return (1 - grid_.lapse) / (1 + std::exp(-4 * s * (snrDb - m)));
}

void PsychometricPosterior::add(const ThresholdTrial& t) {
    if (t.read <= 0) return;
    const int copied = std::clamp(t.copied, 0, t.read);
    const int missed = t.read - copied;
    // With e = exp(-z): log p = log (1 - lapse) - log (1 + e) and
    // log (1 - p) = log (e + lapse) - log (1 + e): one exponential a point.
    const double logKept = std::log1p(-grid_.lapse);
    double* lp = logPosterior_.data();
    for (const double s : grid_.slopes) {
        const double k = 4 * s;
        for (const double m : midpoints_) {
            const double e = std::exp(-k * (t.snrDb - m));
            const double logBoth = std::log1p(e);
            // A missed character where the learner almost never misses: the lapse alone
            // explains it (log (e + lapse) stays finite even with no lapse, through e).
            *lp++ += copied * (logKept - logBoth) + (missed ? missed * (std::log(e + grid_.lapse) - logBoth) : 0.0);
        }
    }
    ++trials_;
    characters_ += t.read;
}

double PsychometricPosterior::logitAt(double chance) const {
    const double f = std::clamp(chance / (1 - grid_.lapse), 1e-4, 1 - 1e-4);
    return std::log(f / (1 - f));
}

double PsychometricPosterior::meanLength() const {
    return trials_ > 0 ? static_cast<double>(characters_) / trials_ : kTypicalLength;
}

void PsychometricPosterior::weigh() const {
    const double top = *std::max_element(logPosterior_.begin(), logPosterior_.end());
    weights_.resize(logPosterior_.size());
    std::transform(logPosterior_.begin(), logPosterior_.end(), weights_.begin(), [top](double lp) {
        const double w = std::exp(lp - top);
        return w < 1e-9 ? 0.0 : w;  // too unlikely to matter: skipped from here on
    });
}

ThresholdEstimate PsychometricPosterior::estimate() const {
    weigh();
    // Half the characters: F = 1/2 / (1 - lapse); all n of a callsign with the chance
    // 1/2: each with 2^(-1/n), so F = that / (1 - lapse).
    const double halfLogit = logitAt(0.5);
    const double wholeLogit = logitAt(std::pow(0.5, 1 / meanLength()));
    double total = 0, sumX = 0, sumXX = 0, sumS = 0, sumWhole = 0;
    const double* w = weights_.data();
    for (const double s : grid_.slopes) {
        const double half = halfLogit / (4 * s), whole = wholeLogit / (4 * s);
        double weights = 0, weightedM = 0, weightedMM = 0;
        for (const double m : midpoints_) {
            const double wm = *w++;
            weights += wm, weightedM += wm * m, weightedMM += wm * m * m;
        }
        total += weights;
        sumX += weightedM + weights * half;
        sumXX += weightedMM + 2 * half * weightedM + weights * half * half;
        sumS += weights * s;
        sumWhole += weightedM + weights * whole;
    }
    ThresholdEstimate e;
    e.snrDb = sumX / total;
    e.se = std::sqrt(std::max(sumXX / total - e.snrDb * e.snrDb, 0.0));
    e.wholeSnrDb = sumWhole / total;
    e.slope = sumS / total;
    e.trials = trials_;
    return e;
}

double PsychometricPosterior::expectedVariance(double snrDb, int read) const {
    // For each outcome k of n: the posterior it would leave, through sums over the grid
    // of w B(k), w B(k) x and w B(k) x^2 (B the binomial chance of k given the point).
    const int n = std::clamp(read, 1, kMostRead);
    const double halfLogit = logitAt(0.5);
    std::array<double, kMostRead + 1> w0{}, w1{}, w2{}, b{};
    const double* w = weights_.data();
    for (const double s : grid_.slopes) {
        const double half = halfLogit / (4 * s);
        // exp(-4 s (x - m)) along the evenly spaced midpoints: one exponential a slope,
        // then a product a point.
        double e = std::exp(-4 * s * (snrDb - midpoints_.front()));
        const double ratio = std::exp(4 * s * grid_.stepDb);
        for (std::size_t j = 0; j < midpoints_.size(); ++j, e *= ratio) {
            const double wm = *w++;
            if (wm == 0) continue;
            const double p = std::clamp((1 - grid_.lapse) / (1 + e), 1e-9, 1 - 1e-9);
            const double x = midpoints_[j] + half, odds = p / (1 - p);
            double none = 1;
            for (int k = 0; k < n; ++k) none *= 1 - p;
            b[0] = none;
            for (int k = 0; k < n; ++k) b[static_cast<std::size_t>(k + 1)] = b[static_cast<std::size_t>(k)] * odds * (n - k) / (k + 1);
            for (std::size_t k = 0; k <= static_cast<std::size_t>(n); ++k) {
                const double wb = wm * b[k];
                w0[k] += wb, w1[k] += wb * x, w2[k] += wb * x * x;
            }
        }
    }
    double total = 0, variance = 0;
    for (std::size_t k = 0; k <= static_cast<std::size_t>(n); ++k) {
        total += w0[k];
        if (w0[k] > 0) variance += w2[k] - w1[k] * w1[k] / w0[k];
    }
    return total > 0 ? variance / total : 0;
}

double PsychometricPosterior::bestSnr(double previousDb, double lowestDb, double highestDb, double mostStepDb) const {
    const ThresholdEstimate now = estimate();  // weighs the grid too
    const int n = static_cast<int>(std::lround(meanLength()));
    double best = 0, bestVariance = INFINITY;
    std::array<double, std::size(kCandidateOffsetsDb)> tried{};
    std::size_t triedCount = 0;
    for (const double offset : kCandidateOffsetsDb) {
        const double x = std::clamp(std::clamp(std::round((now.snrDb + offset) * 10) / 10, previousDb - mostStepDb,
                                               previousDb + mostStepDb), lowestDb, highestDb);
        // Far from the last SNR several come to the same bound: each is weighed once.
        if (std::find(tried.begin(), tried.begin() + static_cast<std::ptrdiff_t>(triedCount), x) !=
            tried.begin() + static_cast<std::ptrdiff_t>(triedCount))
            continue;
        tried[triedCount++] = x;
        const double v = expectedVariance(x, n);
        if (v < bestVariance - 1e-12) bestVariance = v, best = x;
    }
    return best;
}

int ThresholdRunPlan::trialsFor(int groups) { return std::clamp(groups, kFewestTrials, kMostTrials); }

double ThresholdRunPlan::startFor(std::optional<double> lastThresholdDb) {
    if (!lastThresholdDb || !std::isfinite(*lastThresholdDb)) return kStartDb;
    return std::clamp(std::round((*lastThresholdDb + kAboveLastDb) * 10) / 10, kLowestDb, kHighestDb);
}

ThresholdRunPlan::ThresholdRunPlan(int trials, double startDb) : trials_(trialsFor(trials)) {
    snrs_.reserve(static_cast<std::size_t>(trials_) + 1);
    answers_.reserve(static_cast<std::size_t>(trials_));
    snrs_.push_back(std::clamp(startDb, kLowestDb, kHighestDb));
}

void ThresholdRunPlan::answer(int read, int copied) {
    if (finished()) return;
    const ThresholdTrial t{snrDb(), read, copied};
    answers_.push_back(t);
    posterior_.add(t);
    snrs_.push_back(posterior_.bestSnr(snrDb(), kLowestDb, kHighestDb, kMostStepDb));
}

std::optional<ThresholdEstimate> ThresholdRunPlan::threshold() const {
    if (!finished()) return std::nullopt;
    ThresholdEstimate e = posterior_.estimate();
    e.trials = trials_;
    return e;
}

}  // namespace tessaly
