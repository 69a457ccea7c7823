// A rendered pile-up against its key: with a voice pack whose every character is a
// tone of its own, each caller's first clip of each call is found in the WAV where
// the key puts it, at the level the key gives it.
#include "engine/peaking_eq.h"
#include "headless/practice_render.h"
#include "sound/voice_tone.h"
#include "support/sound_file.h"
#include "support/wave_probe.h"
#include "voices/clip_conditioning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
constexpr int kRate = 48000, kClipRate = 22050;
constexpr double kClipSeconds = 0.3;
constexpr double kOutputHeadroomDb = -14;
constexpr int kWindow = 480;  // 10 ms: nulls every other tone, all on a 100 Hz grid, exactly
constexpr double kFadeInFrames = 44.0 * kRate / kClipRate;

// A..Z, then 0..9, each 100 Hz above the one before from 3 kHz: far above the tone
// boost's centre at 80 Hz, where the equaliser barely touches them.
double toneOf(char c) { return 3000 + 100 * (c >= 'A' ? c - 'A' : 26 + c - '0'); }

std::vector<float> tone(double hz) {
    std::vector<float> s(static_cast<std::size_t>(kClipSeconds * kClipRate));
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = 0.3f * static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / kClipRate));
    return s;
}

void writePack(const fs::path& dir) {
    fs::create_directories(dir);
    std::vector<std::pair<std::string, char>> clips;
    for (char c = 'A'; c <= 'Z'; ++c) clips.emplace_back(std::to_string(301 + (c - 'A')), c);
    for (char c = '0'; c <= '9'; ++c) clips.emplace_back("1" + std::string(1, c), c);
    for (const auto& [name, c] : clips)
        testing::writeSoundFile((dir / (name + ".wav")).string(), kClipRate, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, tone(toneOf(c)));
}

// |tone at hz| over the kWindow frames ending at `end`, as an amplitude.
double amplitudeAt(const std::vector<double>& x, double hz, std::size_t end) {
    std::complex<double> sum;
    for (std::size_t n = end - kWindow; n < end; ++n) sum += x[n] * std::polar(1.0, -2 * std::numbers::pi * hz * n / kRate);
    return 2 * std::abs(sum) / kWindow;
}

// The tone boost's gain at hz, as the equaliser has it at the output rate.
double boostDb(double hz) {
    const BiquadCoefficients c = peakingCoefficients(toneBoost(80), kRate);
    const std::complex<double> z = std::polar(1.0, -2 * std::numbers::pi * hz / kRate);
    return 20 * std::log10(std::abs((c.b0 + c.b1 * z + c.b2 * z * z) / (1.0 + c.a1 * z + c.a2 * z * z)));
}

struct Call {
    int round;
    long startMs;
    double levelDb;
    std::string speaker, callsign;
};

TEST(PileupRender, EachCallersFirstClipAtItsKeysStartAndLevel) {
    const fs::path dir = fs::path(::testing::TempDir()) / "tessaly_pileup_render";
    fs::remove_all(dir);
    writePack(dir / "pack");
    const std::string wav = (dir / "p.wav").string(), key = (dir / "k.txt").string();
    ASSERT_EQ(renderCommand({"--pileup", "4", "--groups", "3", "--seed", "5", "--tone", "80", "--voices",
                             (dir / "pack").string(), "--out", wav, "--key", key}),
              0);
    std::vector<Call> calls;
    std::ifstream keyFile(key);
    for (std::string line; std::getline(keyFile, line);) {
        std::istringstream fields(line);
        Call c;
        ASSERT_TRUE(fields >> c.round >> c.startMs >> c.levelDb >> c.speaker >> c.callsign) << line;
        calls.push_back(c);
    }
    ASSERT_EQ(calls.size(), 3u * 4 * 4) << "three rounds of four callers, four calls each, nobody answering";
    std::ifstream in(wav, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    const auto probe = test::probeWave(bytes);
    ASSERT_TRUE(probe && probe->rateHz == kRate);
    std::vector<double> x;
    for (const int s : probe->samples()) x.push_back(s / 32768.0);
    // A caller at 0 dB is as loud as a single reader: the pack's level, the output's headroom.
    const auto clip = conditionRecording(tone(1000));
    ASSERT_TRUE(clip);
    double clipAmplitude = 0;
    for (const float s : clip->samples) clipAmplitude = std::max(clipAmplitude, static_cast<double>(std::abs(s)));

    int checked = 0;
    for (const Call& c : calls) {
        const auto keyFrame = static_cast<double>(c.startMs) * kRate / 1000;
        // The first caller of a call begins after silence: its first sound, to the frame
        // (the fade-in's first sample is zero).
        if (std::none_of(calls.begin(), calls.end(), [&](const Call& o) { return o.startMs < c.startMs && o.startMs > c.startMs - 1000; })) {
            auto n = static_cast<std::size_t>(keyFrame) - kRate / 10;
            while (std::abs(x[n]) < 1.5 / 32768) ++n;
            EXPECT_NEAR(static_cast<double>(n), keyFrame + 1, 0.5) << c.callsign << " at " << c.startMs << " ms";
        }
        // Away from every other first clip's edges, and alone on its tone.
        const bool alone = std::none_of(calls.begin(), calls.end(), [&](const Call& o) {
            if (&o == &c || std::abs(o.startMs - c.startMs) > 1000) return false;
            const long edges[] = {o.startMs, o.startMs + static_cast<long>(kClipSeconds * 1000)};
            return o.callsign[0] == c.callsign[0] || std::any_of(std::begin(edges), std::end(edges), [&](long e) {
                       return std::abs(e - c.startMs) < 25;
                   });
        });
        if (!alone) continue;
        ++checked;
        const double hz = toneOf(c.callsign[0]);
        const auto at = static_cast<std::size_t>(keyFrame);
        // The window's amplitude rises in a straight line while the tone fills it: its
        // quarter and three-quarter points give where it began (the fade-in's middle),
        // to about a frame through the resampler and the equaliser.
        const double full = amplitudeAt(x, hz, at + 2 * kWindow);
        const auto crossing = [&](double share) {
            std::size_t n = at - kWindow / 2;
            while (amplitudeAt(x, hz, n + 1) < share * full) ++n;
            const double a = amplitudeAt(x, hz, n), b = amplitudeAt(x, hz, n + 1);
            return static_cast<double>(n) + (share * full - a) / (b - a) - kWindow * share;
        };
        const double onset = (crossing(0.25) + crossing(0.75)) / 2 - kFadeInFrames / 2;
        EXPECT_NEAR(onset, keyFrame, 1.5) << c.callsign << " at " << c.startMs << " ms";
        const double levelDb = 20 * std::log10(full / clipAmplitude) - kOutputHeadroomDb - boostDb(hz);
        EXPECT_NEAR(levelDb, c.levelDb, 0.5) << c.callsign << " at " << c.startMs << " ms";
    }
    EXPECT_GE(checked, 12) << "enough calls heard alone to be worth it";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tessaly
