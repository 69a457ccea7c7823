// The ionospheric path: its presets, the fading statistics of every preset over a long
// run, the delay seen in the notches, reseeding, and "off" as a bypass.
#include "engine/fading_path.h"

#include "base/practice_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tessaly {
namespace {

constexpr int kRate = 48000;
constexpr double kPi = std::numbers::pi;

const PathPreset& preset(const char* name) {
    const PathPreset* p = findPathPreset(name);
    EXPECT_NE(p, nullptr) << name;
    return p ? *p : pathPresets().front();
}

std::vector<PathPreset> activePresets() {
    std::vector<PathPreset> active;
    for (const PathPreset& p : pathPresets()) {
        if (p.dopplerSpreadHz > 0) active.push_back(p);
    }
    return active;
}

TEST(PathPresets, OffFirstThenTheCcirAndF1487Conditions) {
    const auto presets = pathPresets();
    ASSERT_FALSE(presets.empty());
    EXPECT_STREQ(presets.front().name, "off");
    EXPECT_EQ(presets.front().dopplerSpreadHz, 0);
    std::set<std::string> names;
    std::vector<std::string> inOrder;
    for (const PathPreset& p : presets) {
        EXPECT_TRUE(names.insert(p.name).second) << "twice: " << p.name;
        inOrder.push_back(p.name);
        EXPECT_EQ(findPathPreset(p.name), &p);
        EXPECT_GT(std::string(p.descriptionZh).size(), 6u) << p.name;
    }
    EXPECT_EQ(inOrder, pathNames()) << "the vocabulary's names, which the record is checked against";
    EXPECT_EQ(findPathPreset("Good"), nullptr);
    EXPECT_EQ(findPathPreset("medium"), nullptr);
    EXPECT_EQ(findPathPreset(""), nullptr);

    struct Published { const char* name; double delayMs, spreadHz; };
    for (const Published& want : {Published{"good", 0.5, 0.1}, Published{"moderate", 1, 0.5}, Published{"poor", 2, 1},
                                  Published{"flutter", 0.5, 10}, Published{"mid-quiet", 0.5, 0.1},
                                  Published{"mid-moderate", 1, 0.5}, Published{"mid-disturbed", 2, 1},
                                  Published{"high-quiet", 1, 0.5}, Published{"high-moderate", 3, 10},
                                  Published{"high-disturbed", 7, 30}}) {
        const PathPreset& p = preset(want.name);
        EXPECT_EQ(p.delayMs, want.delayMs) << want.name;
        EXPECT_EQ(p.dopplerSpreadHz, want.spreadHz) << want.name;
    }
    EXPECT_EQ(longestPathDelayMs(), 7);
}

// ---------------------------------------------------------------- fading statistics

struct Statistics {
    double meanPower = 0;
    double spreadFromSpectrum = 0;   // Hz, two sigma
    double spreadFromCrossings = 0;  // Hz, two sigma
    double shareUnder10dB = 0;
    double shareUnder20dB = 0;
};

// g: complex gains sampled every dt seconds.
Statistics statistics(const std::vector<std::complex<double>>& g, double dt) {
    Statistics s;
    for (const auto& v : g) s.meanPower += std::norm(v);
    s.meanPower /= static_cast<double>(g.size());
    // The spectrum's second moment (its mean is 0: no Doppler shift) is the mean square
    // rate of change over the power, over (2 pi)^2.
    double slope = 0;
    long crossings = 0, under10 = 0, under20 = 0;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const double p = std::norm(g[i]);
        if (i > 0) {
            slope += std::norm(g[i] - g[i - 1]);
            if (std::norm(g[i - 1]) < s.meanPower && p >= s.meanPower) ++crossings;
        }
        if (p < 0.1 * s.meanPower) ++under10;
        if (p < 0.01 * s.meanPower) ++under20;
    }
    slope /= static_cast<double>(g.size() - 1);
    s.spreadFromSpectrum = 2 * std::sqrt(slope / s.meanPower) / (2 * kPi * dt);
    // Rayleigh envelope with a Gaussian spectrum: sqrt(pi) x spread x rho x exp(-rho^2)
    // upward crossings a second at rho = 1 (the RMS level).
    const double seconds = static_cast<double>(g.size()) * dt;
    s.spreadFromCrossings = static_cast<double>(crossings) / seconds * std::exp(1.0) / std::sqrt(kPi);
    s.shareUnder10dB = static_cast<double>(under10) / static_cast<double>(g.size());
    s.shareUnder20dB = static_cast<double>(under20) / static_cast<double>(g.size());
    return s;
}

// One path's gain for some 5000 / spread seconds (about 3000 independent fades), sampled
// 40 times per hertz of spread: the same number of samples for every preset, so that
// each preset's figures carry the same statistical error.
std::vector<std::complex<double>> longGainRun(double spreadHz, std::uint64_t seed, double& dt) {
    const int rate = static_cast<int>(std::lround(40 * spreadHz));
    DopplerGain gain(rate);
    gain.setSpread(spreadHz);
    gain.reseed(seed);
    const std::size_t frames = 200000;
    std::vector<float> re(frames), im(frames);
    for (std::size_t i = 0; i < frames; i += 1000) gain.generate(re.data() + i, im.data() + i, 1000, 1.0f);
    std::vector<std::complex<double>> g(frames);
    for (std::size_t i = 0; i < frames; ++i) g[i] = {re[i], im[i]};
    dt = 1.0 / rate;
    return g;
}

// Tolerances: over 200 seeds the worst errors of such a run were a third of these or
// less (mean power 3 %, spread from the spectrum 1.1 %, from crossings 2.9 %, share
// under 10 dB 0.55 points, under 20 dB 0.1 points).
TEST(DopplerGain, EveryPresetsSpreadAndRayleighEnvelopeOverALongRun) {
    std::uint64_t seed = 1;
    for (const PathPreset& p : activePresets()) {
        SCOPED_TRACE(p.name);
        double dt = 0;
        const auto gains = longGainRun(p.dopplerSpreadHz, seed++, dt);
        const Statistics s = statistics(gains, dt);
        EXPECT_NEAR(s.meanPower, 1.0, 0.08);
        EXPECT_NEAR(s.spreadFromSpectrum / p.dopplerSpreadHz, 1.0, 0.05);
        EXPECT_NEAR(s.spreadFromCrossings / p.dopplerSpreadHz, 1.0, 0.10);
        // Rayleigh: 1 - exp(-0.1) = 9.5 % of the time 10 dB under, 1 - exp(-0.01) = 1 % 20 dB under.
        EXPECT_NEAR(s.shareUnder10dB, 1 - std::exp(-0.1), 0.015);
        EXPECT_NEAR(s.shareUnder20dB, 1 - std::exp(-0.01), 0.004);
    }
}

TEST(DopplerGain, ChangesSmoothlyFromFrameToFrame) {
    // At the audio rate the interpolated gain has no steps where the low-rate samples
    // are: the largest change in one frame stays within a few times the typical one
    // (a held or stepped gain would jump by some 300 typical changes there).
    DopplerGain gain(kRate);
    gain.setSpread(10);
    gain.reseed(4);
    std::vector<float> re(kRate * 10), im(re.size());
    for (std::size_t i = 0; i < re.size(); i += 480) gain.generate(re.data() + i, im.data() + i, 480, 1.0f);
    double sum = 0, largest = 0;
    for (std::size_t i = 1; i < re.size(); ++i) {
        const double d = std::hypot(re[i] - re[i - 1], im[i] - im[i - 1]);
        sum += d * d;
        largest = std::max(largest, d);
    }
    const double rms = std::sqrt(sum / static_cast<double>(re.size() - 1));
    EXPECT_LT(largest, 6 * rms);
}

TEST(DopplerGain, AChangeOfSpreadGoesOnFromTheSameGain) {
    DopplerGain gain(kRate);
    gain.setSpread(1);
    gain.reseed(8);
    std::vector<float> re(1000), im(1000);
    gain.generate(re.data(), im.data(), 1000, 1.0f);
    const std::complex<double> before(re.back(), im.back());
    gain.setSpread(30);
    gain.generate(re.data(), im.data(), 1, 1.0f);
    EXPECT_LT(std::abs(std::complex<double>(re[0], im[0]) - before), 0.01);
}

// ---------------------------------------------------------------- the path at the output rate

// The complex envelope of a 1 kHz tone through the path, one value a millisecond.
std::vector<std::complex<double>> fadedTone(FadingPath& path, double seconds) {
    const int period = kRate / 1000;
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < frames; ++i) x[i] = static_cast<float>(std::cos(2 * kPi * 1000.0 * static_cast<double>(i) / kRate));
    for (std::size_t i = 0; i < frames; i += 256) path.process(x.data() + i, static_cast<int>(std::min<std::size_t>(256, frames - i)));
    std::vector<std::complex<double>> g;
    for (std::size_t start = 2 * static_cast<std::size_t>(period); start + period <= frames; start += period) {
        std::complex<double> sum = 0;
        for (std::size_t i = start; i < start + period; ++i)
            sum += static_cast<double>(x[i]) * std::polar(2.0 / period, -2 * kPi * 1000.0 * static_cast<double>(i) / kRate);
        g.push_back(sum);
    }
    return g;
}

TEST(FadingPath, FlutterFadesAToneAtTheOutputRateAsItsPresetSays) {
    FadingPath path(kRate);
    path.setPreset(preset("flutter"));
    path.reseed(21);
    ASSERT_TRUE(path.active());
    // 40 s of 10 Hz spread: some 250 independent fades, so wider margins than above.
    const Statistics s = statistics(fadedTone(path, 40), 0.001);
    EXPECT_NEAR(s.meanPower, 1.0, 0.2);  // the two paths together keep the tone's power
    EXPECT_NEAR(s.spreadFromSpectrum / 10, 1.0, 0.1);
    EXPECT_NEAR(s.shareUnder10dB, 0.095, 0.035);
}

// The delay, found from how often the notches it cuts repeat: the power spectrum of
// the output ripples with a period of 1 / delay, so its transform, the autocorrelation,
// peaks at the delay. Taken of the analytic output, whose autocorrelation's magnitude
// there does not depend on the paths' phases, and averaged over 21 ms frames.
int delayFromNotches(const PathPreset& p, std::uint64_t seed) {
    FadingPath path(kRate);
    path.setPreset(p);
    path.reseed(seed);
    HilbertTransformer hilbert(kRate);
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, 0.1f);
    constexpr std::size_t kFrame = 1024, kBlock = 256;
    // A wrong delay leaves no peak at the right lag, wherever its own peak is.
    const auto maxLag = static_cast<std::size_t>(path.delayFrames() + 8);
    std::vector<double> average(maxLag + 1, 0.0);
    std::vector<std::complex<double>> past(2 * kFrame);
    std::vector<float> x(kBlock), re(kBlock), im(kBlock);
    for (int frame = 0; frame < 40; ++frame) {
        for (std::size_t b = 0; b < kFrame; b += kBlock) {
            for (float& s : x) s = noise(random);
            path.process(x.data(), kBlock);
            hilbert.process(x.data(), re.data(), im.data(), kBlock);
            for (std::size_t i = 0; i < kBlock; ++i) past[kFrame + b + i] = {re[i], im[i]};
        }
        for (std::size_t lag = 1; frame >= 2 && lag <= maxLag; ++lag) {
            std::complex<double> sum = 0;
            for (std::size_t i = kFrame; i < 2 * kFrame; ++i) sum += past[i] * std::conj(past[i - lag]);
            average[lag] += std::abs(sum);
        }
        std::copy(past.begin() + kFrame, past.end(), past.begin());
    }
    // The noise's own analytic signal is correlated at odd lags too, 2 / (pi lag) of its
    // power: past 12 frames (0.25 ms) that is under a twentieth, well under the echo.
    constexpr int kFirstLag = 12;
    return static_cast<int>(std::max_element(average.begin() + kFirstLag, average.end()) - average.begin());
}

TEST(FadingPath, TheNotchesRepeatEveryOneOverTheDelay) {
    std::uint64_t seed = 30;
    for (const PathPreset& p : activePresets()) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(delayFromNotches(p, seed++), std::lround(p.delayMs * kRate / 1000));
    }
}

TEST(FadingPath, TheSameSeedFadesTheSameWay) {
    FadingPath path(kRate);
    path.setPreset(preset("poor"));
    std::vector<float> tone(kRate);
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<float>(0.3 * std::sin(2 * kPi * 700.0 * static_cast<double>(i) / kRate));
    auto run = [&](std::uint64_t seed) {
        path.reseed(seed);
        std::vector<float> out = tone;
        for (std::size_t i = 0; i < out.size(); i += 480) path.process(out.data() + i, 480);
        return out;
    };
    const std::vector<float> first = run(42), other = run(43), again = run(42);
    // Past the frames that still hold the previous run's sound (the Hilbert filter spans
    // twice its delay), the gains decide alone.
    const auto from = static_cast<std::ptrdiff_t>(2 * path.latencyFrames() + path.delayFrames());
    EXPECT_TRUE(std::equal(first.begin() + from, first.end(), again.begin() + from));
    EXPECT_FALSE(std::equal(first.begin() + from, first.end(), other.begin() + from));

    FadingPath twin(kRate);  // another path from the same seed: the same sound exactly
    twin.setPreset(preset("poor"));
    twin.reseed(42);
    std::vector<float> out = tone;
    for (std::size_t i = 0; i < out.size(); i += 256) twin.process(out.data() + i, static_cast<int>(std::min<std::size_t>(256, out.size() - i)));
    EXPECT_EQ(out, first);
}

TEST(FadingPath, OffLeavesEverySampleAlone) {
    FadingPath path(kRate);
    EXPECT_FALSE(path.active());  // off until told otherwise
    std::vector<float> x(1000);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(std::sin(0.37 * static_cast<double>(i)));
    std::vector<float> y = x;
    path.process(y.data(), static_cast<int>(y.size()));
    EXPECT_EQ(y, x);

    path.setPreset(preset("flutter"));
    EXPECT_TRUE(path.active());
    path.process(y.data(), static_cast<int>(y.size()));
    EXPECT_NE(y, x);
    path.setPreset(preset("off"));
    EXPECT_FALSE(path.active());
    y = x;
    path.process(y.data(), static_cast<int>(y.size()));
    EXPECT_EQ(y, x);

    // Back on, nothing of the sound from before "off" comes out.
    path.setPreset(preset("high-disturbed"));
    std::vector<float> silence(2000, 0.0f);
    path.process(silence.data(), static_cast<int>(silence.size()));
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](float s) { return s == 0.0f; }));
}

}  // namespace
}  // namespace tessaly
