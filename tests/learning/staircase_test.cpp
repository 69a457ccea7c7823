#include "learning/staircase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace tessaly {
namespace {

std::vector<bool> answers(const std::string& marks) {
    std::vector<bool> out;
    for (const char c : marks) out.push_back(c == 'Y');
    return out;
}

TEST(Staircase, FollowsScriptedAnswersToTheThreshold) {
    struct Case {
        const char* marks;  // Y: the callsign copied whole
        std::vector<double> snrs;  // trial 1 .. N, then the one trial N + 1 would have had
        double threshold;
    } cases[] = {
        // Down 4 dB at a time to the first miss, then 2 dB steps, its own step up included.
        {"YYYNYNYNYN", {6, 2, -2, -6, -4, -6, -4, -6, -4, -6, -4}, -34.0 / 7},
        // Missed at once: small steps from the start.
        {"NNYYYYYYYY", {6, 8, 10, 8, 6, 4, 2, 0, -2, -4, -6}, 0.0},
        {"NNNNNNNNNN", {6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26}, 20.0},
        // Never missed: never below -60 dB, what a setting may hold.
        {"YYYYYYYYYYYYYYYYYYYY",
         {6, 2, -2, -6, -10, -14, -18, -22, -26, -30, -34, -38, -42, -46, -50, -54, -58, -60, -60, -60, -60},
         -682.0 / 17},
        // 12 trials: trials 5 .. 12 and the 13th SNR.
        {"YYNYNNYYNYNY", {6, 2, -2, 0, -2, 0, 2, 0, -2, 0, -2, 0, -2}, (-2 + 0 + 2 + 0 - 2 + 0 - 2 + 0 - 2) / 9.0},
    };
    for (const Case& c : cases) {
        const std::vector<bool> given = answers(c.marks);
        Staircase run(static_cast<int>(given.size()));
        EXPECT_EQ(run.snrDb(), 6.0);
        for (std::size_t i = 0; i < given.size(); ++i) {
            EXPECT_EQ(run.trial(), static_cast<int>(i) + 1) << c.marks;
            EXPECT_FALSE(run.threshold()) << c.marks << ": no threshold before the last answer";
            run.answer(given[i]);
            EXPECT_EQ(run.snrDb(), c.snrs[i + 1]) << c.marks << ": fixed as answer " << i + 1 << " is given";
        }
        EXPECT_TRUE(run.finished());
        EXPECT_EQ(run.snrs(), c.snrs) << c.marks;
        EXPECT_EQ(run.answers(), given) << c.marks;
        const auto threshold = run.threshold();
        ASSERT_TRUE(threshold) << c.marks;
        EXPECT_DOUBLE_EQ(threshold->snrDb, c.threshold) << c.marks;
        EXPECT_EQ(threshold->trials, static_cast<int>(given.size()));
        EXPECT_GT(threshold->se, 0.0) << c.marks;

        run.answer(false);  // after the last: nothing changes
        EXPECT_EQ(run.snrs(), c.snrs);
        EXPECT_EQ(run.threshold(), threshold);
    }
}

TEST(Staircase, RunsOfTenToFiftyAndNoThresholdWhenStopped) {
    EXPECT_EQ(Staircase::trialsFor(0), 10);
    EXPECT_EQ(Staircase::trialsFor(9), 10);
    EXPECT_EQ(Staircase::trialsFor(20), 20);
    EXPECT_EQ(Staircase::trialsFor(50), 50);
    EXPECT_EQ(Staircase::trialsFor(500), 50);
    EXPECT_EQ(Staircase(3).trials(), 10);
    EXPECT_EQ(Staircase().trials(), 20);

    Staircase stopped(20);
    for (int i = 0; i < 19; ++i) stopped.answer(i % 3 != 0);
    EXPECT_FALSE(stopped.finished());
    EXPECT_EQ(stopped.trial(), 20);
    EXPECT_FALSE(stopped.threshold()) << "stopped before the last answer: no threshold";
}

TEST(Staircase, StandardErrorFollowsTheSlopeTheAnswersShow) {
    // Without a miss (or without a copy) nothing tells the slope: the widest error,
    // as for a listener of 2 % per dB: 1 / (2 x 0.02 x sqrt(17)).
    Staircase allRight(20);
    for (int i = 0; i < 20; ++i) allRight.answer(true);
    EXPECT_NEAR(allRight.threshold()->se, 25 / std::sqrt(17.0), 1e-9);

    // Answers that alternate at one SNR pair (a steep listener) against answers spread
    // over 12 dB (a shallow one): the steep one's threshold is the surer.
    Staircase steep(20), shallow(20);
    for (const bool copied : answers("YYYNYNYNYNYNYNYNYNYN")) steep.answer(copied);
    for (const bool copied : answers("YYNYNNNYYYYNNNNYYYYN")) shallow.answer(copied);
    EXPECT_LT(steep.threshold()->se, shallow.threshold()->se);
    EXPECT_GE(steep.threshold()->se, 1 / (2 * 0.25 * std::sqrt(17.0)) - 1e-9) << "never steeper than 25 % per dB";
}

// A listener who copies a callsign read at x dB with the chance
// 1 / (1 + exp(-4 s (x - t))): half of them at t, the slope s (per dB) there.
class SimulatedListener {
public:
    SimulatedListener(double threshold, double slope, std::uint64_t seed) : threshold_(threshold), k_(4 * slope), random_(seed) {}
    bool copies(double snrDb) {
        const double chance = 1 / (1 + std::exp(-k_ * (snrDb - threshold_)));
        return static_cast<double>(random_() >> 11) * 0x1.0p-53 < chance;  // the same draws on every platform
    }

private:
    double threshold_, k_;
    std::mt19937_64 random_;
};

struct Spread {
    double bias = 0, sd = 0, meanSe = 0;
};

Spread measure(double threshold, double slope, int trials, int runs, std::uint64_t seed) {
    SimulatedListener listener(threshold, slope, seed);
    double sum = 0, squares = 0, ses = 0;
    for (int r = 0; r < runs; ++r) {
        Staircase run(trials);
        while (!run.finished()) run.answer(listener.copies(run.snrDb()));
        const ThresholdEstimate found = *run.threshold();
        sum += found.snrDb - threshold;
        squares += (found.snrDb - threshold) * (found.snrDb - threshold);
        ses += found.se;
    }
    Spread s;
    s.bias = sum / runs;
    s.sd = std::sqrt((squares - sum * sum / runs) / (runs - 1));
    s.meanSe = ses / runs;
    return s;
}

TEST(Staircase, FindsASimulatedListenersHalfwayPointOnAverage) {
    struct Listener {
        double threshold, slope;  // dB, per dB
        int trials;
    } listeners[] = {
        {-4, 0.10, 20}, {-12, 0.10, 20}, {3, 0.10, 20}, {-4, 0.05, 20}, {-4, 0.20, 20}, {-8, 0.10, 10}, {-8, 0.10, 50},
    };
    for (const Listener& l : listeners) {
        const Spread s = measure(l.threshold, l.slope, l.trials, 200, 1234);
        std::printf("[ listener ] threshold %+5.1f dB, slope %2.0f %%/dB, %2d trials: bias %+5.2f dB, spread %4.2f dB, mean se %4.2f dB\n",
                    l.threshold, 100 * l.slope, l.trials, s.bias, s.sd, s.meanSe);
        EXPECT_LT(std::abs(s.bias), 2.0) << l.threshold << " dB at " << l.slope;
    }
}

TEST(Staircase, StandardErrorMatchesTheSpreadOfRepeatedRuns) {
    // The error given with each threshold, on average, against how far thresholds of
    // repeated runs of one listener actually spread. The plain spread of the SNRs
    // over root n falls well outside (0.4 to 0.5 times here).
    for (const double slope : {0.07, 0.10, 0.15}) {
        const Spread s = measure(-4, slope, 20, 200, 99);
        EXPECT_GT(s.meanSe / s.sd, 0.7) << slope;
        EXPECT_LT(s.meanSe / s.sd, 1.3) << slope;
    }
}

}  // namespace
}  // namespace tessaly
