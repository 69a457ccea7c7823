// The mixer at sample level, rendered offline in virtual time at 48000 Hz.
#include "engine_test_support.h"

#include "engine/rendition.h"

#include <gtest/gtest.h>

#include <utility>

namespace tessaly {
namespace {

using namespace enginetest;

constexpr int kRate = 48000;

TEST(Mixer, VolumeScalesTheRecording) {
    const std::pair<int, double> cases[] = {{0, 1.0}, {-600, 0.501}, {-2000, 0.1}, {-6000, 0.001}, {-10000, 0.0}};
    for (const auto& [volume, amplitude] : cases) {  // hundredths of a dB, linear gain
        OfflineRig rig;
        rig.waves.add("dc", 22050, std::vector<float>(22050, 0.5f));
        auto clip = rig.buffer("dc");
        ASSERT_TRUE(clip->setVolume(volume));
        ASSERT_TRUE(clip->play(false));
        rig.renderTo(500);
        EXPECT_NEAR(mean(rig.out, 4800, 19200), 0.5 * amplitude, 1e-4 + 1e-3 * amplitude) << volume;
    }
}

TEST(Mixer, SilentVolumeAddsExactlyNothing) {
    OfflineRig rig;
    rig.waves.add("dc", 22050, std::vector<float>(22050, 0.9f));
    auto clip = rig.buffer("dc");
    clip->setVolume(kVolumeSilent);
    clip->play(true);
    rig.renderTo(300);
    for (float s : rig.out) ASSERT_EQ(s, 0.0f);
}

TEST(Mixer, VolumeChangeWhilePlayingArrivesWithinAMillisecond) {
    OfflineRig rig;
    rig.waves.add("dc", 22050, std::vector<float>(22050, 0.5f));
    auto clip = rig.buffer("dc");
    clip->play(true);
    rig.renderTo(100);
    rig.now = 100;
    clip->setVolume(-600);
    rig.renderTo(200);
    const std::size_t change = rig.frameAt(100);
    EXPECT_NEAR(rig.out[change - 1], 0.5, 1e-4);
    for (std::size_t i = change + 48; i < rig.out.size(); ++i) ASSERT_NEAR(rig.out[i], 0.5 * 0.501, 1e-3);
    for (std::size_t i = change; i < change + 48; ++i) {  // a glide, no jump
        ASSERT_LE(std::fabs(rig.out[i] - rig.out[i - 1]), 0.01);
    }
}

TEST(Mixer, HigherFrequencyPlaysShorterAndHigher) {
    // A 1000 Hz tone of 0.5 s recorded at 22050 Hz, played at its rate and at 23000.
    const auto tone = sine(1000, 22050, 11025, 0.5f);
    struct Played { std::size_t frames; double pitch; };
    auto playAt = [&](int frequency) {
        OfflineRig rig;
        rig.waves.add("tone", 22050, tone);
        auto clip = rig.buffer("tone");
        clip->setFrequency(frequency);
        clip->play(false);
        rig.renderTo(1000);
        std::size_t last = 0;
        for (std::size_t i = 0; i < rig.out.size(); ++i) if (std::fabs(rig.out[i]) > 1e-3) last = i;
        std::size_t crossings = 0;
        for (std::size_t i = 2000; i < 22000; ++i) crossings += (rig.out[i - 1] < 0) != (rig.out[i] < 0);
        return Played{last + 1, crossings / 2.0 / (20000.0 / kRate)};
    };
    const Played normal = playAt(22050);
    const Played fast = playAt(23000);
    EXPECT_NEAR(normal.frames, 24000.0, 30.0);
    EXPECT_NEAR(static_cast<double>(fast.frames) / normal.frames, 22050.0 / 23000.0, 0.002);
    EXPECT_NEAR(normal.pitch, 1000.0, 3.0);
    EXPECT_NEAR(fast.pitch / normal.pitch, 23000.0 / 22050.0, 0.005);
}

TEST(Mixer, LoopsWrapWithoutASeam) {
    // 441 whole periods in one second at 22050 Hz: played in a loop it is one
    // unbroken sine, so any click at the wrap shows as a deviation from it.
    for (const int frequency : {22050, 23000, 11025, 44100}) {
        OfflineRig rig;
        rig.waves.add("loop", 22050, sine(441, 22050, 22050, 0.5f));
        auto loop = rig.buffer("loop");
        loop->setFrequency(frequency);
        loop->play(true);
        const std::size_t cycle = renditionLength(22050, frequency, kRate);
        rig.renderTo(static_cast<std::int64_t>(2.5 * 1000.0 * cycle / kRate));
        ASSERT_EQ(loop->getStatus(), kStatusPlaying | kStatusLooping);
        double worst = 0;
        for (std::size_t wrap : {cycle, 2 * cycle}) {
            for (std::size_t i = wrap - 500; i < wrap + 500; ++i) {
                const double ideal = 0.5 * std::sin(2 * std::numbers::pi * 441.0 * static_cast<double>(i) / cycle);
                worst = std::max(worst, std::fabs(rig.out[i] - ideal));
            }
        }
        EXPECT_LT(worst, 1e-3) << frequency;
    }
}

TEST(Mixer, StopKeepsThePositionAndPlayResumesThere) {
    std::vector<float> sweep(22050);  // a rising tone, so every frame differs from its neighbours
    for (std::size_t i = 0; i < sweep.size(); ++i) sweep[i] = 0.5f * static_cast<float>(std::sin(0.00002 * i * i));
    OfflineRig straight, interrupted;
    for (OfflineRig* rig : {&straight, &interrupted}) rig->waves.add("sweep", 22050, sweep);
    auto a = straight.buffer("sweep");
    a->play(false);
    straight.renderTo(1000);

    auto b = interrupted.buffer("sweep");
    b->play(false);
    interrupted.now = 200;
    b->stop();
    EXPECT_EQ(b->getStatus(), 0);
    interrupted.now = 500;
    b->play(false);
    interrupted.renderTo(1300);

    const std::size_t stopAt = 9600, resumeAt = 24000;
    for (std::size_t i = 0; i < stopAt; ++i) ASSERT_EQ(interrupted.out[i], straight.out[i]) << i;
    for (std::size_t i = stopAt; i < resumeAt; ++i) ASSERT_EQ(interrupted.out[i], 0.0f) << i;
    for (std::size_t i = stopAt; i < 48000; ++i) ASSERT_EQ(interrupted.out[i - stopAt + resumeAt], straight.out[i]) << i;
}

TEST(Mixer, EqualiserBoostsAtTheCentreOnly) {
    struct Case {
        double toneHz;
        float centreHz, gainDb;
        double expectedDb;
    } cases[] = {{1000, 1000, 15, 15}, {2500, 2500, 15, 15}, {440, 440, -15, -15},
                 {100, 5000, 15, 0.07}, {8000, 80, 15, 0.01}, {1000, 5000, 15, 4.07}};
    for (const Case& c : cases) {
        auto level = [&](bool withEq) {
            OfflineRig rig;
            rig.waves.add("tone", 22050, sine(c.toneHz, 22050, 22050, 0.1f));
            auto clip = rig.buffer("tone");
            if (withEq) {
                clip->setFxParamEq();
                clip->paramEqInPath(0)->setAllParameters({c.centreHz, 36.0f, c.gainDb});
            }
            clip->play(false);
            rig.renderTo(600);
            return toneAmplitude(rig.out, 9600, 28800, c.toneHz, kRate);
        };
        EXPECT_NEAR(dB(level(true) / level(false)), c.expectedDb, 0.2) << c.toneHz << " Hz, centre " << c.centreHz;
    }
}

TEST(Mixer, EqualiserCentreChangeTakesEffectAtTheNextBlock) {
    auto render = [](bool move) {
        auto rig = std::make_unique<OfflineRig>();
        rig->waves.add("tone", 22050, sine(1000, 22050, 22050, 0.1f));
        auto clip = rig->buffer("tone");
        clip->setFxParamEq();
        auto eq = clip->paramEqInPath(0);
        eq->setAllParameters({5000, 36, 15});
        clip->play(true);
        rig->renderTo(500);
        rig->now = 500;
        if (move) eq->setAllParameters({1000, 36, 15});
        EXPECT_EQ(eq->getAllParameters().centerHz, move ? 1000.0f : 5000.0f);
        rig->renderTo(1000);
        return std::move(rig->out);
    };
    const auto still = render(false), moved = render(true);
    const std::size_t change = 24000;
    for (std::size_t i = 0; i < change; ++i) ASSERT_EQ(moved[i], still[i]) << i;
    EXPECT_NE(moved[change], still[change]);
    EXPECT_NEAR(dB(toneAmplitude(still, 30000, 48000, 1000, kRate) / 0.1), 4.07, 0.2);
    EXPECT_NEAR(dB(toneAmplitude(moved, 30000, 48000, 1000, kRate) / 0.1), 15.0, 0.2);
}

TEST(Mixer, FrequencyChangeWhilePlayingTakesEffectAtOnce) {
    OfflineRig rig;
    rig.waves.add("tone", 22050, sine(1000, 22050, 22050, 0.5f));
    auto clip = rig.buffer("tone");
    clip->play(true);
    rig.now = 500;
    clip->setFrequency(44100);
    rig.renderTo(1000);
    EXPECT_NEAR(toneAmplitude(rig.out, 4800, 24000, 1000, kRate), 0.5, 0.01);
    EXPECT_NEAR(toneAmplitude(rig.out, 24480, 48000, 2000, kRate), 0.5, 0.01);
    EXPECT_LT(toneAmplitude(rig.out, 24480, 48000, 1000, kRate), 0.01);
}

TEST(Mixer, OfflineClipStartsAtTheFrameOfItsVirtualTime) {
    const std::pair<int, std::int64_t> cases[] = {{48000, 0},  {48000, 1},   {48000, 7},  {48000, 1001},
                                                  {44100, 7},  {44100, 333}, {22050, 13}, {8000, 12345}};
    for (const auto& [rate, ms] : cases) {
        OfflineRig rig(rate);
        rig.waves.add("dc", 22050, std::vector<float>(4410, 0.5f));
        auto clip = rig.buffer("dc");  // made at time 0, played later
        rig.now = ms;
        clip->play(false);
        rig.renderTo(ms + 100);
        std::size_t first = 0;
        while (first < rig.out.size() && rig.out[first] == 0.0f) ++first;
        EXPECT_EQ(first, static_cast<std::size_t>(std::llround(static_cast<double>(ms) * rate / 1000.0))) << ms << " ms at " << rate;
        EXPECT_NEAR(rig.out[first], 0.5, 1e-3);
    }
}

TEST(Mixer, OncePlayStopsByItselfAndADroppedClipPlaysOut) {
    OfflineRig rig;
    rig.waves.add("dc", 22050, std::vector<float>(11025, 0.5f));  // 0.5 s
    auto clip = rig.buffer("dc");
    clip->play(false);
    rig.now = 400;
    EXPECT_EQ(clip->getStatus(), kStatusPlaying);
    clip.reset();  // the reader drops its clip when it starts the next one
    rig.renderTo(1000);
    for (std::size_t i = 0; i < 24000; ++i) ASSERT_NEAR(rig.out[i], 0.5, 1e-3) << i;
    for (std::size_t i = 24000; i < rig.out.size(); ++i) ASSERT_EQ(rig.out[i], 0.0f) << i;

    auto again = rig.buffer("dc");
    again->play(false);
    rig.now = 1600;
    EXPECT_EQ(again->getStatus(), 0);  // ended by itself at 1500 ms
    again->play(false);                // and plays again from its start
    EXPECT_EQ(again->getStatus(), kStatusPlaying);
    rig.renderTo(2200);
    EXPECT_NEAR(rig.out[rig.frameAt(2000)], 0.5, 1e-3);
    EXPECT_EQ(rig.out[rig.frameAt(2100) + 1], 0.0f);
}

TEST(Mixer, DroppingAStoppedOrLoopingBufferSilencesItAtOnce) {
    OfflineRig rig;
    rig.waves.add("dc", 22050, std::vector<float>(22050, 0.5f));
    auto loop = rig.buffer("dc");
    loop->play(true);
    auto stopped = rig.buffer("dc");
    stopped->play(false);
    rig.now = 100;
    stopped->stop();
    loop.reset();
    stopped.reset();
    rig.renderTo(300);
    EXPECT_EQ(rig.out[rig.frameAt(100) - 1], 1.0f);  // both, clipped
    for (std::size_t i = rig.frameAt(100); i < rig.out.size(); ++i) ASSERT_EQ(rig.out[i], 0.0f);
}

TEST(Mixer, SumClipsAtFullScale) {
    OfflineRig rig;
    rig.waves.add("high", 22050, std::vector<float>(22050, 0.8f));
    rig.waves.add("low", 22050, std::vector<float>(22050, -0.8f));
    auto a = rig.buffer("high"), b = rig.buffer("high");
    a->play(false);
    b->play(false);
    rig.now = 200;
    a->stop();
    b->stop();
    auto c = rig.buffer("low"), d = rig.buffer("low");
    c->play(false);
    d->play(false);
    rig.renderTo(400);
    EXPECT_EQ(rig.out[100], 1.0f);
    EXPECT_EQ(rig.out[rig.frameAt(300)], -1.0f);
}

}  // namespace
}  // namespace tessaly
