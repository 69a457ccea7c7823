#include "learning/threshold_estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tessaly {
namespace {

// Three midpoints, one slope, no lapse: the posterior worked out by hand.
TEST(ThresholdEstimate, PosteriorOnATinyGridIsTheLikelihoodNormalised) {
    PsychometricPosterior posterior({-2, 2, 2, {0.1}, 0});
    posterior.add({0, 6, 4});   // 4 of 6 at 0 dB
    posterior.add({-2, 5, 1});  // 1 of 5 at -2 dB
    double w[3], sum = 0, mean = 0, square = 0;
    for (int i = 0; i < 3; ++i) {
        const double m = -2 + 2 * i;
        const auto p = [m](double x) { return 1 / (1 + std::exp(-0.4 * (x - m))); };
        w[i] = std::pow(p(0), 4) * std::pow(1 - p(0), 2) * p(-2) * std::pow(1 - p(-2), 4);
        sum += w[i], mean += w[i] * m, square += w[i] * m * m;
    }
    mean /= sum;
    const ThresholdEstimate e = posterior.estimate();
    EXPECT_NEAR(e.snrDb, mean, 1e-9);
    EXPECT_NEAR(e.se, std::sqrt(square / sum - mean * mean), 1e-9);
    EXPECT_DOUBLE_EQ(e.slope, 0.1);
    // All 5.5 characters right half the time: each with 2^(-1/5.5).
    const double f = std::pow(0.5, 1 / 5.5);
    EXPECT_NEAR(e.wholeSnrDb, mean + std::log(f / (1 - f)) / 0.4, 1e-9);
    EXPECT_EQ(e.trials, 2);
}

TEST(ThresholdEstimate, StartsAboveTheLastThresholdAndStepsAtMostEightDecibelsWithinBounds) {
    struct Case {
        std::optional<double> last;
        double start;
    } starts[] = {{std::nullopt, 6}, {-10, -6}, {-3.04, 1}, {40, 30}, {-50, -30}};
    for (const Case& c : starts) EXPECT_DOUBLE_EQ(ThresholdRunPlan::startFor(c.last), c.start) << c.last.value_or(99);
    for (const int groups : {0, 20, 500}) EXPECT_EQ(ThresholdRunPlan(groups).trials(), std::clamp(groups, 10, 50));

    // Every character right (or wrong) from far away: the SNR runs to the bound in steps of at most 8 dB.
    for (const bool right : {true, false}) {
        ThresholdRunPlan plan(50, right ? 20 : -20);
        while (!plan.finished()) plan.answer(6, right ? 6 : 0);
        const auto& snrs = plan.snrs();
        for (std::size_t i = 1; i < snrs.size(); ++i) {
            EXPECT_LE(std::abs(snrs[i] - snrs[i - 1]), 8 + 1e-9) << i;
            EXPECT_DOUBLE_EQ(snrs[i], std::round(snrs[i] * 10) / 10) << "a tenth of a dB";
        }
        EXPECT_DOUBLE_EQ(snrs.back(), right ? -30 : 30);
        EXPECT_TRUE(plan.threshold());
    }
    ThresholdRunPlan stopped(20);
    stopped.answer(6, 3);
    EXPECT_FALSE(stopped.threshold()) << "a run stopped in the middle has none";
}

// Listeners who copy each character with a logistic chance (and a 3 % lapse): the
// thresholds of repeated runs of 20 land near the true one, spread as little as the
// answers allow, and the ± covers the true value about two times in three.
TEST(ThresholdEstimate, FindsSimulatedListenersThresholdsWithAnHonestError) {
    struct Listener {
        double midpoint, slope, mostSpread;
    } listeners[] = {{-10, 0.05, 1.4}, {-4, 0.10, 0.75}, {2, 0.20, 0.45}};
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> uniform(0, 1);
    constexpr int kRuns = 40;
    constexpr double kLapse = 0.03;
    for (const Listener& l : listeners) {
        const double f = 0.5 / (1 - kLapse);
        const double truth = l.midpoint + std::log(f / (1 - f)) / (4 * l.slope);
        double sum = 0, squares = 0;
        int covered = 0;
        for (int run = 0; run < kRuns; ++run) {
            ThresholdRunPlan plan(20);
            while (!plan.finished()) {
                const int read = 4 + static_cast<int>(uniform(random) * 4);
                const double p = (1 - kLapse) / (1 + std::exp(-4 * l.slope * (plan.snrDb() - l.midpoint)));
                int copied = 0;
                for (int c = 0; c < read; ++c) copied += uniform(random) < p;
                plan.answer(read, copied);
            }
            const ThresholdEstimate e = *plan.threshold();
            sum += e.snrDb - truth, squares += (e.snrDb - truth) * (e.snrDb - truth);
            covered += std::abs(e.snrDb - truth) <= e.se;
        }
        const double bias = sum / kRuns, spread = std::sqrt((squares - sum * sum / kRuns) / (kRuns - 1));
        EXPECT_LT(std::abs(bias), 0.5) << l.slope;
        EXPECT_LT(spread, l.mostSpread) << l.slope;
        EXPECT_GE(covered, kRuns / 2) << l.slope;
        EXPECT_LE(covered, kRuns * 9 / 10) << l.slope;
    }
}

}  // namespace
}  // namespace tessaly
