#pragma once
// The threshold run's model of the learner and the SNR each callsign is read at.
//
// Each answer is scored by character: of the n characters of the callsign read, k
// stand right in the answer (aligned as the error analysis aligns them). The
// learner copies a character read at x dB with the chance
//
//     p(x) = (1 - lapse) / (1 + exp(-4 s (x - m)))
//
// m the logistic's midpoint, s its slope there (per dB: 0.1 is 10 % a dB) and a
// small fixed lapse (3 %: a key slipped, a moment's inattention), so that one
// careless miss at a high SNR does not drag the fit. k of n is binomial: each
// character is heard on its own.
//
// The posterior over m and s is kept on a grid (m every 0.25 dB over -40 .. +40 dB,
// s on ten steps from 3 % to 30 % a dB, evenly on a log scale) from flat priors: a
// grid has no optimum to miss, gives an honest spread for any number of answers (a
// maximum-likelihood fit has none when every answer is right), and carries the
// slope's uncertainty into the threshold's. The threshold is the SNR at which half
// the characters are copied, p(x) = 1/2: its posterior mean, and its ± the posterior
// standard deviation. Against simulated listeners of 5 % to 20 % a dB, with and
// without lapses, the ± covers the true value in 64 % to 80 % of runs of 20.
//
// The next callsign goes where its answer is expected to leave the least posterior
// variance of the threshold, of SNRs from 8 dB below to 8 dB above the threshold
// as it stands: mostly near it, where a character tells most, and off it when the
// slope is what keeps the threshold uncertain. It is rounded to 0.1 dB, kept within
// -30 .. +30 dB and at most 8 dB from the callsign before, so that a run starting
// far from the learner comes down in steps that can still be heard. The first
// callsign is read at +6 dB, or 4 dB above the learner's last threshold under the
// same conditions.
//
// The SNR at which half of the whole callsigns would be copied follows from the same
// fit: all n characters right, p(x)^n = 1/2, with n the run's mean callsign length.
#include <optional>
#include <vector>

namespace tessaly {

struct ThresholdEstimate {
    double snrDb = 0;       // half the characters copied, dB
    double se = 0;          // its posterior standard deviation, dB
    double wholeSnrDb = 0;  // half the whole callsigns copied, dB
    double slope = 0;       // s, per dB: 0.1 is 10 % a dB (posterior mean)
    int trials = 0;         // the callsigns of the run
    bool operator==(const ThresholdEstimate&) const = default;
};

// One callsign of the run: the SNR it was read at, its characters, those copied.
struct ThresholdTrial {
    double snrDb = 0;
    int read = 0;
    int copied = 0;
    bool operator==(const ThresholdTrial&) const = default;
};

// The grid the posterior lives on.
struct PsychometricGrid {
    double lowDb = -40, highDb = 40, stepDb = 0.25;  // midpoints
    std::vector<double> slopes;                      // per dB; empty: the ten from 3 % to 30 %
    double lapse = 0.03;
};

class PsychometricPosterior {
public:
    explicit PsychometricPosterior(PsychometricGrid grid = {});
    void add(const ThresholdTrial& trial);
    // The summary of the answers added so far (trials: how many).
    ThresholdEstimate estimate() const;
    // The chance of a character copied at `snrDb` for midpoint `m` and slope `s`.
    double chance(double snrDb, double m, double s) const;
    const PsychometricGrid& grid() const { return grid_; }
    // The threshold's posterior variance expected after `read` characters at `snrDb`.
    double expectedVariance(double snrDb, int read) const;
    // The SNR, at most `mostStepDb` from `previousDb` and within the bounds, that
    // leaves the least variance expected (of a few about the threshold as it stands).
    double bestSnr(double previousDb, double lowestDb, double highestDb, double mostStepDb) const;

private:
    double logitAt(double chance) const;
    double meanLength() const;
    void weigh() const;

    PsychometricGrid grid_;
    std::vector<double> midpoints_;
    std::vector<double> logPosterior_;  // by slope, then midpoint
    mutable std::vector<double> weights_;  // the posterior, its top 1, as last weighed
    int trials_ = 0;
    long long characters_ = 0;
};

class ThresholdRunPlan {
public:
    static constexpr int kFewestTrials = 10;
    static constexpr int kMostTrials = 50;
    static constexpr int kDefaultTrials = 20;
    static constexpr double kStartDb = 6;
    static constexpr double kAboveLastDb = 4;  // a start above the last threshold
    static constexpr double kLowestDb = -30;
    static constexpr double kHighestDb = 30;
    static constexpr double kMostStepDb = 8;

    // The trials of a run for a group count: the count brought into 10 .. 50.
    static int trialsFor(int groups);
    // The first callsign's SNR: 4 dB above the last threshold, if there is one.
    static double startFor(std::optional<double> lastThresholdDb);

    explicit ThresholdRunPlan(int trials = kDefaultTrials, double startDb = kStartDb);

    int trials() const { return trials_; }
    // The trial now being read, from 1; trials() + 1 once every answer is given.
    int trial() const { return static_cast<int>(snrs_.size()); }
    // Its SNR, dB; once finished, the SNR a next trial would have had.
    double snrDb() const { return snrs_.back(); }
    bool finished() const { return trial() > trials_; }

    // The answer to the current trial, `copied` of its `read` characters: the
    // posterior takes it and the next SNR is fixed. Ignored once finished.
    void answer(int read, int copied);

    // Every trial's SNR so far and the one fixed for the next.
    const std::vector<double>& snrs() const { return snrs_; }
    const std::vector<ThresholdTrial>& answers() const { return answers_; }
    // From the answers so far.
    ThresholdEstimate estimate() const { return posterior_.estimate(); }
    // Only once every trial is answered: a run stopped in the middle has none.
    std::optional<ThresholdEstimate> threshold() const;

private:
    int trials_;
    std::vector<double> snrs_;
    std::vector<ThresholdTrial> answers_;
    PsychometricPosterior posterior_;
};

}  // namespace tessaly
