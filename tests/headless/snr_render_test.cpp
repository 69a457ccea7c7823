// The SNR as a listener meets it, measured in rendered practices as it is defined:
// the voice's mean power over each callsign's stretch (from the tick of its first
// clip to the tick of the pause after its last, the gaps included) against the band
// noise's mean power over the same stretch, both within 300 .. 2700 Hz.
#include "support/rendered_practice.h"

#include "engine/ssb_passband.h"

#include <cmath>
#include <cstdio>

namespace tessaly {
namespace {

using testing::RenderedPractice;

struct Stretch {
    std::int64_t fromMs, toMs;
};

// A grouped practice of three callsigns, each answered 1 s after its pause; the
// stretches of its callsigns. `setUp` sets the window up before Start.
std::vector<double> render(RenderedPractice& p, const std::function<void(UserInput&)>& setUp, std::vector<Stretch>& stretches,
                           std::vector<double>* trials = nullptr) {
    p.input->setText("Text2", "3");
    setUp(*p.input);
    p.input->click("Command4");
    std::int64_t first = -1;
    for (int answered = 0; answered < 3;) {
        p.wait(100);
        const auto& clips = p.host.clips;
        if (first < 0 && !clips.empty() && clips.back().name != "NULL") first = clips.back().t;
        if (!p.form->reader().waitingForAnswer()) continue;
        stretches.push_back({first, clips.back().t});  // the pause's own tick
        first = -1;
        p.wait(1000);
        p.input->type("Text6", "X\r");
        ++answered;
    }
    p.wait(1000);
    if (trials)
        for (const auto& t : p.host.trials) trials->push_back(t.snrDb);
    return p.samples();
}

std::vector<double> inBand(std::vector<double> s) {
    std::vector<float> f(s.begin(), s.end());
    SsbPassband(testing::kRate).process(f.data(), static_cast<int>(f.size()));
    return {f.begin(), f.end()};
}

double powerOf(const std::vector<double>& s, Stretch r, const std::vector<double>* minus = nullptr) {
    double sum = 0;
    const std::size_t a = RenderedPractice::frameAt(r.fromMs), b = RenderedPractice::frameAt(r.toMs);
    for (std::size_t i = a; i < b; ++i) {
        const double x = s[i] - (minus ? (*minus)[i] : 0.0);
        sum += x * x;
    }
    return sum / static_cast<double>(b - a);
}

// The SNR of each callsign of a practice set up by `setUp`, against the same practice
// without noise (the voice alone: same seed, same draws).
std::vector<double> measuredSnrs(const std::string& name, const std::function<void(UserInput&)>& setUp,
                                 std::vector<double>* trials = nullptr) {
    // Names of their own: the suites' cases may run side by side.
    RenderedPractice mixed(name + "_mixed", 8), voice(name + "_voice", 8);
    std::vector<Stretch> stretches, unused;
    std::vector<double> m = render(mixed, setUp, stretches, trials);
    // The voice alone as the listener hears it: through the receiver when it is on.
    std::vector<double> v = render(voice, [&setUp](UserInput& in) {
        setUp(in);
        in.setSnr(std::nullopt);
        in.setThreshold(false);
    }, unused);
    m = inBand(std::move(m)), v = inBand(std::move(v));
    std::vector<double> snrs;
    for (const Stretch& r : stretches) snrs.push_back(10 * std::log10(powerOf(v, r) / powerOf(m, r, &v)));
    return snrs;
}

TEST(SnrRender, ASetSnrIsTheInBandRatioHeardWithTheReceiverOnOrOffAndASixDecibelStepIsSix) {
    const auto at0 = measuredSnrs("snr0", [](UserInput& in) { in.setSnr(0.0); });
    const auto at6 = measuredSnrs("snr6", [](UserInput& in) { in.setSnr(6.0); });
    const auto received = measuredSnrs("snr0_rx", [](UserInput& in) {
        in.setSnr(0.0);
        in.setPassband(true);
    });
    ASSERT_EQ(at0.size(), 3u);
    ASSERT_EQ(received.size(), 3u);
    double off = 0, on = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        // The level follows the voice the engine knows, not the clips a callsign holds.
        EXPECT_NEAR(at0[i], 0.0, 1.5) << "callsign " << i + 1;
        EXPECT_NEAR(received[i], 0.0, 1.5) << "callsign " << i + 1;
        EXPECT_NEAR(at6[i] - at0[i], 6.0, 0.1) << "callsign " << i + 1;
        off += at0[i] / 3, on += received[i] / 3;
    }
    std::printf("[ measured ] 0 dB set: %+.2f dB in band without the receiver, %+.2f dB with it\n", off, on);
    EXPECT_NEAR(off, 0.0, 1.0);
    EXPECT_NEAR(on, 0.0, 1.0);
}

TEST(SnrRender, AThresholdRunHearsEachCallsignAtItsTrialsSnr) {
    // Wrong answers (X): the SNR goes up. (Each callsign meets another stretch of the
    // 20 s noise loop, whose own level wanders by about a decibel: each is checked
    // against its trial's SNR.)
    std::vector<double> trials;
    const auto snrs = measuredSnrs("snr_run", [](UserInput& in) { in.setThreshold(true); }, &trials);
    ASSERT_EQ(snrs.size(), 3u);
    ASSERT_EQ(trials.size(), 3u);
    EXPECT_EQ(trials[0], 6.0);
    EXPECT_GT(trials[1], trials[0]);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(snrs[i], trials[i], 1.5) << "callsign " << i + 1;
}

}  // namespace
}  // namespace tessaly
