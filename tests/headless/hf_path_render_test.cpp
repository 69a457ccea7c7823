// The path and the receiver in whole rendered practices: every clip a steady 1 kHz
// tone, so that what the path does shows in its level; the band noise alone for the
// passband.
#include "headless/headless_session.h"
#include "headless/practice_render.h"
#include "sound/wave_bytes.h"
#include "support/scratch_folder.h"
#include "support/wave_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessaly {
namespace {

constexpr int kRate = 48000;
constexpr int kClipFrames = 13230;  // 0.6 s at the clips' 22050 Hz

// Every clip a steady 1 kHz tone (with 5 ms ends), the noise recordings built in.
WaveLookup toneClips() {
    static const std::vector<std::uint8_t> tone = [] {
        std::vector<float> s(kClipFrames);
        for (int i = 0; i < kClipFrames; ++i) {
            const double edge = std::min({1.0, i / 110.0, (kClipFrames - 1 - i) / 110.0});
            s[static_cast<std::size_t>(i)] = static_cast<float>(0.3 * edge * std::sin(2 * std::numbers::pi * 1000.0 * i / 22050.0));
        }
        return pcmWaveBytes(22050, 16, s);
    }();
    return [builtIn = builtInWaves()](std::string_view name) -> std::optional<std::span<const std::uint8_t>> {
        if (name == "zaoyin" || name == "qrn" || name == "NULL") return builtIn(name);
        return std::span<const std::uint8_t>(tone);
    };
}

// A grouped practice of `groups` callsigns, each answered 1 s after its pause, with
// the path `preset`; the level of each clip's middle in 20 ms windows, clip by clip.
std::vector<std::vector<double>> clipEnvelopes(const std::string& preset, int groups = 8) {
    const std::string path = ::testing::TempDir() + "tessaly_path_" + preset + ".wav";
    HeadlessSession::Options o;
    o.seed = 11;
    o.output = HeadlessSession::Output::Wav;
    o.wavPath = path;
    o.waves = toneClips();
    std::vector<std::int64_t> clipTimes;
    o.onEvent = [&](const HostEvent& e) {
        if (e.kind == HostEvent::Kind::ClipStarted && e.name != "NULL") clipTimes.push_back(e.t);
    };
    HeadlessSession session(std::move(o));
    session.load();
    UserInput& user = session.input();
    user.setText("Text2", std::to_string(groups));
    EXPECT_EQ(user.setPath(preset), InputResult::Done);
    user.click("Command4");
    for (int answered = 0; answered < groups && session.view().practising();) {
        session.wait(100);
        if (!session.view().waitingForAnswer()) continue;
        session.wait(1000);
        user.type("Text6", "X\r");
        ++answered;
    }
    session.wait(2000);
    std::string error;
    EXPECT_TRUE(session.finish(error)) << error;
    const std::vector<double> s = test::waveFileSamples(path);
    std::remove(path.c_str());
    std::vector<std::vector<double>> envelopes;
    const std::size_t window = kRate / 50;
    for (std::int64_t t : clipTimes) {
        // The middle of the clip: 100 ms in, to 100 ms before its end (0.6 s long).
        std::vector<double> levels;
        for (std::size_t a = static_cast<std::size_t>((t + 100) * kRate / 1000);
             a + window <= static_cast<std::size_t>((t + 500) * kRate / 1000) && a + window <= s.size(); a += window) {
            double sum = 0;
            for (std::size_t i = a; i < a + window; ++i) sum += s[i] * s[i];
            levels.push_back(10 * std::log10(sum / window + 1e-20));
        }
        if (!levels.empty()) envelopes.push_back(levels);
    }
    return envelopes;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Fading {
    double insideDb;   // median over clips of the swing inside a clip
    double betweenDb;  // median change of a clip's mean level from the clip before
};

Fading fadingOf(const std::string& preset) {
    const auto envelopes = clipEnvelopes(preset);
    std::vector<double> inside, means, between;
    for (const auto& e : envelopes) {
        inside.push_back(*std::max_element(e.begin(), e.end()) - *std::min_element(e.begin(), e.end()));
        double power = 0;
        for (double db : e) power += std::pow(10.0, db / 10);
        means.push_back(10 * std::log10(power / static_cast<double>(e.size())));
    }
    for (std::size_t i = 1; i < means.size(); ++i) between.push_back(std::abs(means[i] - means[i - 1]));
    return {median(inside), median(between)};
}

TEST(HfPathRender, SteadyInsideAClipWhenGoodSwingingInsideUnderFlutterAndFromClipToClipWhenModerate) {
    const Fading good = fadingOf("good"), moderate = fadingOf("moderate"), flutter = fadingOf("flutter");
    // 0.1 Hz of spread hardly moves within 0.4 s; 10 Hz swings through several fades.
    EXPECT_LT(good.insideDb, 3.0);
    EXPECT_GT(flutter.insideDb, 10.0);
    // 0.5 Hz: each clip at its own level, more than a good path moves in a clip.
    EXPECT_GT(moderate.betweenDb, good.insideDb);
    EXPECT_GT(moderate.betweenDb, 2.0);
    EXPECT_LT(moderate.insideDb, flutter.insideDb);
}

TEST(HfPathRender, AWindowWithoutAPathIsUnchangedByTheStage) {
    const std::string dir = ::testing::TempDir();
    const auto render = [&](const std::vector<std::string>& extra, const std::string& name) {
        std::vector<std::string> args = {"--groups", "2", "--seed", "5", "--noise", "S3", "--qrm", "--qsb",
                                         "--out", dir + name};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(renderCommand(args), 0);
        const std::string bytes = fileText(dir + name);
        std::remove((dir + name).c_str());
        return bytes;
    };
    const auto plain = render({}, "plain.wav");
    EXPECT_EQ(render({"--path", "off", "--agc", "off"}, "off.wav"), plain) << "off is no path at all, sample for sample";
    EXPECT_NE(render({"--path", "good"}, "good.wav"), plain);
}

double levelNear(const std::vector<double>& s, double hz, std::size_t from, std::size_t to) {
    return test::blockPowerDb(s, hz, kRate, 4096, from, to);
}

TEST(HfPathRender, ThePassbandKeepsTheNoiseOutsideItTwentyDecibelsDown) {
    const std::string path = ::testing::TempDir() + "tessaly_passband.wav";
    // The band noise alone: a continuous practice of no callsign runs until stopped.
    HeadlessSession::Options o;
    o.seed = 2;
    o.output = HeadlessSession::Output::Wav;
    o.wavPath = path;
    HeadlessSession session(std::move(o));
    session.load();
    UserInput& user = session.input();
    user.setText("Text2", "0");
    user.click("Option9");
    user.click("Option6");  // S5
    user.setPassband(true);
    user.click("Command4");
    session.wait(10000);
    std::string error;
    ASSERT_TRUE(session.finish(error)) << error;
    const std::vector<double> s = test::waveFileSamples(path);
    std::remove(path.c_str());
    const std::size_t from = kRate, to = s.size();  // past the first second
    const double inside = (levelNear(s, 800, from, to) + levelNear(s, 1500, from, to) + levelNear(s, 2400, from, to)) / 3;
    for (const double hz : {60.0, 120.0, 3400.0, 4000.0, 5000.0})
        EXPECT_LT(levelNear(s, hz, from, to), inside - 20) << hz << " Hz";
}

}  // namespace
}  // namespace tessaly
