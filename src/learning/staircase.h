#pragma once
// The threshold run's staircase: which signal-to-noise ratio each callsign is read
// at, and the threshold it finds, the SNR at which the learner copies half of the
// callsigns.
//
// One-up/one-down on whole-callsign copies, which converges on the 50 % point:
// trial 1 is read at +6 dB; a right copy makes the next one harder (the SNR goes
// down by the step), a wrong one easier (up by the step). The step is 4 dB until
// the first wrong copy and 2 dB from then on, the move after that first wrong copy
// included: the big steps only bring the SNR down quickly, and the first miss
// brackets the threshold between its SNR and the one 4 dB above it, so the way
// back up is already a small step. The next trial's SNR is fixed when the current
// answer is given, and it never leaves -60 .. +60 dB (what an SNR setting may hold).
//
// Threshold: the mean of the SNRs of trials 5 to N and of the SNR that trial N + 1
// would have had (N - 3 values). The first four are left out because they mostly
// reflect the start at +6 dB, not the listener.
//
// Standard error: the SNRs of a staircase are not independent (each one is the last
// one plus or minus a step), so the spread of the counted SNRs divided by the root
// of their count says little: it is too small for a shallow listener, whose track
// wanders, and too large for a steep one, whose track only alternates. Around the
// threshold the track behaves as a first-order autoregressive series: with p(x)
// the chance of a right copy at x and s its slope at the 50 % point (per dB),
// each step pulls the distance d to the threshold to d (1 - 2 s step) on average,
// and the mean of n such SNRs has a standard error of about 1 / (2 s sqrt(n))
// whatever the step. That is also the least any estimate from n trials placed at
// the threshold can reach (the binomial information there is 4 s² per trial), so
// the staircase mean is as good as its trials allow, and only s is needed.
//
// s is the listener's, found from this run's answers: a logistic psychometric
// function fitted to every trial (each answer, given the SNR it was read at, is an
// independent right-or-wrong, however the SNR was chosen), midpoint and slope free,
// by the likelihood with Jeffreys' penalty (Firth's bias reduction): plain maximum
// likelihood finds too steep a slope in 10 to 50 answers, so too small an error,
// and none at all when the answers separate cleanly. The slope is kept between 2 %
// and 25 % per dB; a run with no wrong (or no right) copy tells no slope and gets
// the shallowest, the widest error. Against simulated listeners of 4 % to 25 % per
// dB, this error comes out on average at 0.76 to 0.97 times the spread of the
// threshold over repeated runs of 20 (0.76 to 1.16 for runs of 10 to 50); the plain
// spread of the counted SNRs over root n comes out at 0.24 to 0.65 times.
#include <optional>
#include <vector>

namespace tessaly {

struct ThresholdEstimate {
    double snrDb = 0;  // the SNR at which half of the callsigns are copied
    double se = 0;     // its standard error, dB
    int trials = 0;    // N, the callsigns of the run
    bool operator==(const ThresholdEstimate&) const = default;
};

class Staircase {
public:
    static constexpr int kFewestTrials = 10;
    static constexpr int kMostTrials = 50;
    static constexpr int kDefaultTrials = 20;
    static constexpr double kStartDb = 6;
    static constexpr double kFirstStepDb = 4;
    static constexpr double kStepDb = 2;
    static constexpr double kLowestDb = -60;
    static constexpr double kHighestDb = 60;
    static constexpr int kFirstCounted = 5;  // trials before it are not in the threshold

    // The trials of a run for a group count: the count brought into 10 .. 50.
    static int trialsFor(int groups);

    // A run of `trials` callsigns (brought into 10 .. 50).
    explicit Staircase(int trials = kDefaultTrials);

    int trials() const { return trials_; }
    // The trial now being read, from 1; trials() + 1 once every answer is given.
    int trial() const { return static_cast<int>(snrs_.size()); }
    // Its SNR, dB; once finished, the SNR trial N + 1 would have had.
    double snrDb() const { return snrs_.back(); }
    bool finished() const { return trial() > trials_; }

    // The answer to the current trial (true: the whole callsign was copied), which
    // fixes the next trial's SNR. Ignored once finished.
    void answer(bool copied);

    // The SNR of every trial so far, from trial 1, and the one now fixed for the
    // next (so one more than the answers given).
    const std::vector<double>& snrs() const { return snrs_; }
    const std::vector<bool>& answers() const { return answers_; }

    // Only once every trial is answered: a run stopped in the middle has none. The
    // fit behind the standard error takes about a millisecond; it is done once.
    std::optional<ThresholdEstimate> threshold() const;

private:
    int trials_;
    bool missedOnce_ = false;
    std::vector<double> snrs_;
    std::vector<bool> answers_;
    mutable std::optional<ThresholdEstimate> threshold_;  // once finished
};

// The standard error of a staircase mean of `counted` SNRs, for the answers given at
// the SNRs (as the header explains). Exposed for the tests and for runs read back.
double staircaseStandardError(const std::vector<double>& snrs, const std::vector<bool>& answers, int counted);

}  // namespace tessaly
