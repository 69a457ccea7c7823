#include "engine/receiver.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace tessaly {
namespace {

using namespace enginetest;

constexpr int kRate = 48000;
constexpr double kPi = std::numbers::pi;

// The passband's steady gain for a tone, dB: 0.4 s of tone, measured over the last 0.2 s.
double passbandGainDb(double hz) {
    Receiver receiver(kRate);
    receiver.setPassband(true);
    auto x = sine(hz, kRate, kRate * 2 / 5, 0.1f);
    receiver.process(x.data(), static_cast<int>(x.size()));
    return dB(toneAmplitude(x, x.size() / 2, x.size(), hz, kRate) / 0.1);
}

// Where between lo and hi (the gain crossing -3 dB once) the passband is 3 dB down.
double minus3Point(double lo, double hi) {
    const bool rising = passbandGainDb(lo) < passbandGainDb(hi);
    for (int i = 0; i < 16; ++i) {
        const double mid = 0.5 * (lo + hi);
        if ((passbandGainDb(mid) > -3) == rising) hi = mid;
        else lo = mid;
    }
    return 0.5 * (lo + hi);
}

TEST(ReceiverPassband, ThreeDbDownAt300And2700Hz) {
    EXPECT_NEAR(minus3Point(150, 600), 300, 3);
    EXPECT_NEAR(minus3Point(2000, 3300), 2700, 15);
    for (double hz : {400.0, 700.0, 1000.0, 1500.0, 2000.0, 2500.0}) {
        EXPECT_NEAR(passbandGainDb(hz), -0.1, 0.25) << hz << " Hz";  // 0.1 dB ripple in each filter
    }
}

TEST(ReceiverPassband, KeepsNoiseBelow150AndAbove3300HzAtLeast20DbDown) {
    // Every frequency there, so white noise in those bands is at least as far down.
    // The design leaves 30 dB at 150 Hz and 29.7 dB at 3300 Hz.
    for (double hz = 20; hz <= 150; hz += 10) EXPECT_LT(passbandGainDb(hz), -28) << hz << " Hz";
    for (double hz = 3300; hz < kRate / 2; hz *= 1.1) EXPECT_LT(passbandGainDb(hz), -28) << hz << " Hz";
}

// ---------------------------------------------------------------- AGC

struct StepRun {
    std::vector<float> gainDb;  // after each frame
    std::vector<float> out;
    int stepUp = 0, stepDown = 0, latency = 0;
};

// A 1 kHz tone 15 dB under the AGC's reference, then at the reference from 1 s, then
// back under it from 2 s, to 4 s; one frame at a time to see the gain after each.
StepRun stepRun(AgcSpeed speed) {
    Receiver receiver(kRate);
    receiver.setAgc(speed);
    StepRun run;
    run.stepUp = kRate;
    run.stepDown = 2 * kRate;
    run.latency = receiver.latencyFrames();
    const double ref = Agc::referenceAmplitude(), low = ref * std::pow(10.0, -15 / 20.0);
    for (int i = 0; i < 4 * kRate; ++i) {
        const double a = i >= run.stepUp && i < run.stepDown ? ref : low;
        float s = static_cast<float>(a * std::sin(2 * kPi * 1000.0 * i / kRate));
        receiver.process(&s, 1);
        run.gainDb.push_back(receiver.gainDb());
        run.out.push_back(s);
    }
    return run;
}

double msBetween(int from, int to) { return (to - from) * 1000.0 / kRate; }

TEST(ReceiverAgc, AttackHangAndDecayOfEachSpeed) {
    struct Times { AgcSpeed speed; double hangMs, decayMs; };
    for (const Times& want : {Times{AgcSpeed::Fast, 50, 50}, Times{AgcSpeed::Medium, 125, 125},
                              Times{AgcSpeed::Slow, 250, 250}}) {
        SCOPED_TRACE(Agc::hangMs(want.speed));
        const StepRun run = stepRun(want.speed);
        auto gain = [&](int i) { return static_cast<double>(run.gainDb[static_cast<std::size_t>(i)]); };
        // Settled under the reference and at it: the gain makes up the difference.
        EXPECT_NEAR(gain(run.stepUp - 1), 15, 0.3);
        EXPECT_NEAR(gain(run.stepDown - 1), 0, 0.3);
        // Attack: a 2 ms time constant in dB, from the step reaching the detector.
        int i = run.stepUp;
        while (gain(i) > 15 * std::exp(-1.0)) ++i;
        EXPECT_NEAR(msBetween(run.stepUp, i), 2.0, 0.4);
        // Thanks to the look-ahead the louder tone comes out at most 2 dB over the reference.
        float peak = 0;
        for (int k = run.stepUp + run.latency; k < run.stepUp + run.latency + kRate / 10; ++k)
            peak = std::max(peak, std::fabs(run.out[static_cast<std::size_t>(k)]));
        EXPECT_LT(dB(peak / Agc::referenceAmplitude()), 2.0);
        // Hang: the gain holds after the step down ...
        i = run.stepDown;
        while (gain(i) < 0.1) ++i;
        EXPECT_NEAR(msBetween(run.stepDown, i), want.hangMs, want.hangMs * 0.05);
        // ... then rises 8.7 dB per decay time constant, until it has made up the 15 dB.
        const int at3 = static_cast<int>(std::find_if(run.gainDb.begin() + run.stepDown, run.gainDb.end(), [](float g) { return g >= 3; }) - run.gainDb.begin());
        const int at12 = static_cast<int>(std::find_if(run.gainDb.begin() + run.stepDown, run.gainDb.end(), [](float g) { return g >= 12; }) - run.gainDb.begin());
        EXPECT_NEAR(msBetween(at3, at12) * 20 / std::log(10.0) / 9, want.decayMs, want.decayMs * 0.05);
        EXPECT_NEAR(gain(4 * kRate - 1), 15, 0.3);
    }
}

TEST(ReceiverAgc, RaisesSilenceAtMostByItsMaximumAndNeverPassesTheCeiling) {
    Receiver receiver(kRate);
    receiver.setPassband(true);
    receiver.setAgc(AgcSpeed::Fast);
    std::mt19937 random(2);
    std::normal_distribution<float> noise(0.0f, static_cast<float>(Agc::referenceAmplitude() * 10));
    std::vector<float> block(256);
    float peak = 0;
    float highestGain = -100;
    // Two seconds of silence, then noise 20 dB over the reference, then a faint noise.
    for (int b = 0; b < 3 * kRate / 256; ++b) {
        const int second = b * 256 / kRate;
        for (float& s : block) s = second == 0 ? 0.0f : second == 1 ? noise(random) : noise(random) * 1e-4f;
        receiver.process(block.data(), 256);
        for (float s : block) peak = std::max(peak, std::fabs(s));
        highestGain = std::max(highestGain, receiver.gainDb());
    }
    EXPECT_NEAR(highestGain, Agc::kMaxGainDb, 0.01);
    EXPECT_NEAR(receiver.gainDb(), Agc::kMaxGainDb, 0.01);  // the faint noise: all the gain there is
    EXPECT_LE(peak, Agc::ceilingAmplitude());
    EXPECT_LT(Agc::ceilingAmplitude(), 1 / std::pow(10.0, -14 / 20.0));  // under clipping after the headroom
}

TEST(Receiver, WithNothingOnItIsNotThere) {
    Receiver receiver(kRate);
    EXPECT_FALSE(receiver.active());
    std::vector<float> x(1000);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(std::sin(0.21 * static_cast<double>(i)));
    std::vector<float> y = x;
    receiver.process(y.data(), static_cast<int>(y.size()));
    EXPECT_EQ(y, x);
    EXPECT_EQ(receiver.gainDb(), 0.0f);

    receiver.setAgc(AgcSpeed::Slow);
    EXPECT_TRUE(receiver.active());
    receiver.setAgc(AgcSpeed::Off);
    receiver.setPassband(true);
    EXPECT_TRUE(receiver.active());
    receiver.setPassband(false);
    EXPECT_FALSE(receiver.active());
    receiver.process(y.data(), static_cast<int>(y.size()));
    EXPECT_EQ(y, x);
}

TEST(Receiver, TheAgcOffOnlyDelaysAndComingBackOnForgetsTheOldSound) {
    std::vector<float> x(2000);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(0.5 * std::sin(0.05 * static_cast<double>(i)));

    Receiver receiver(kRate);
    receiver.setAgc(AgcSpeed::Medium);
    std::vector<float> y = x;
    receiver.process(y.data(), static_cast<int>(y.size()));
    receiver.setAgc(AgcSpeed::Off);  // inactive: the caller stops calling process()
    receiver.setAgc(AgcSpeed::Fast);
    std::vector<float> silence(1000, 0.0f);
    receiver.process(silence.data(), static_cast<int>(silence.size()));
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](float s) { return s == 0.0f; }));

    // With the passband on, the receiver is the passband and the look-ahead's delay,
    // the same whether the AGC was never on or has been switched off.
    SsbPassband passband(kRate);
    Receiver plain(kRate), switched(kRate);
    plain.setPassband(true);
    switched.setPassband(true);
    switched.setAgc(AgcSpeed::Slow);
    switched.setAgc(AgcSpeed::Off);
    std::vector<float> a = x, b = x, c = x;
    passband.process(a.data(), static_cast<int>(a.size()));
    plain.process(b.data(), static_cast<int>(b.size()));
    switched.process(c.data(), static_cast<int>(c.size()));
    const int latency = plain.latencyFrames();
    EXPECT_TRUE(std::equal(a.begin(), a.end() - latency, b.begin() + latency));
    EXPECT_EQ(b, c);
}

}  // namespace
}  // namespace tessaly
