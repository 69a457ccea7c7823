// What a listener hears: timing, noise levels, the interfering station and fading,
// measured on practices rendered through the real mixer.
#include "support/rendered_practice.h"
#include "base/resource_store.h"
#include "engine/mixer.h"

namespace tessaly::testing {
namespace {

TEST(RenderedAudio, ClipsStartOnTheirTicksAndTheGroupedPauseHoldsUntilTheAnswer) {
    RenderedPractice p("onsets");
    p.input->setText("Text2", "3");
    p.input->click("Command4");
    std::vector<std::int64_t> answers;
    for (int group = 0; group < 3; ++group) {
        while (!p.form->reader().waitingForAnswer()) p.wait(10);
        p.wait(3000);  // the listener takes 3 s to answer
        answers.push_back(p.clock.nowMs());
        p.input->type("Text6", "X\r");
    }
    p.wait(1000);
    const auto& s = p.samples();
    int checked = 0;
    for (const auto& clip : p.host.clips) {
        if (clip.name == "NULL") continue;
        const std::size_t tick = RenderedPractice::frameAt(clip.t);
        // Silence before the tick (the previous clip has ended), sound within 10 ms after it:
        // a clip keeps 7 ms before its word's first sound, so that a soft onset is whole.
        EXPECT_EQ(p.firstSoundFrom(tick - kRate / 10), p.firstSoundFrom(tick)) << clip.name << " at " << clip.t;
        EXPECT_LE(p.firstSoundFrom(tick) - tick, static_cast<std::size_t>(kRate / 100)) << clip.name << " at " << clip.t;
        ++checked;
    }
    EXPECT_GE(checked, 15);
    // After each callsign's pause tick nothing sounds until one interval after the answer.
    for (std::size_t g = 0; g + 1 < answers.size(); ++g) {
        const std::size_t answerFrame = RenderedPractice::frameAt(answers[g]);
        const std::size_t next = p.firstSoundFrom(answerFrame - 2 * kRate);
        EXPECT_EQ(next, p.firstSoundFrom(answerFrame + RenderedPractice::frameAt(1100)))
            << "sound during the pause of group " << g + 1;
        EXPECT_LT(next, s.size());
    }
}

TEST(RenderedAudio, NoiseLevelsStepByTheirTable) {
    RenderedPractice p("noise");
    p.input->setText("Text2", "0");  // the reader stays silent: only the noise bed sounds
    p.input->click("Command4");
    const char* buttons[] = {"Option2", "Option3", "Option4", "Option5", "Option6"};
    const double attenuationDb[] = {30, 20, 15, 10, 5};
    std::vector<std::int64_t> starts;
    for (const char* b : buttons) {
        p.input->click(b);
        starts.push_back(p.clock.nowMs());
        p.wait(6000);
    }
    for (int i = 1; i < 5; ++i) {
        const double step = p.levelDb(starts[i] + 500, starts[i] + 5500) - p.levelDb(starts[i - 1] + 500, starts[i - 1] + 5500);
        EXPECT_NEAR(step, attenuationDb[i - 1] - attenuationDb[i], 0.5) << buttons[i];
    }
}

TEST(RenderedAudio, InterfererIsTwelveDecibelsDownAndFourPointThreePercentFaster) {
    RenderedPractice p("qrm");
    p.input->setText("Text2", "0");
    p.input->click("Check2");
    p.input->click("Command4");
    p.wait(1950);  // the first interferer clip, alone, before the second at 2000 ms
    const std::string clip = p.form->interferer().clipName();
    ASSERT_FALSE(clip.empty());
    const auto raw = test::probeWave(*findResource("WAVE", clip));
    ASSERT_TRUE(raw);
    double rawSum = 0;
    const auto rawSamples = raw->samples();
    for (int v : rawSamples) rawSum += (v / 32768.0) * (v / 32768.0);
    const double rawDb = 10 * std::log10(rawSum / static_cast<double>(rawSamples.size()));

    const std::size_t start = RenderedPractice::frameAt(1000);
    const auto& s = p.samples();
    std::size_t end = start;
    for (std::size_t i = start; i < RenderedPractice::frameAt(1950); ++i)
        if (std::abs(s[i]) > 1e-6) end = i + 1;
    // The clip's last sound, played 23000 / 22050 times as fast (clips end with a little silence).
    const auto lastSound = std::find_if(rawSamples.rbegin(), rawSamples.rend(), [](int v) { return v != 0; });
    const auto soundingFrames = static_cast<double>(rawSamples.rend() - lastSound);
    const double expectedFrames = soundingFrames / 23000.0 * kRate;
    // 5 ms for the equaliser's ring after the quiet end of the word; playing at the
    // clips' own rate would be 30 ms longer.
    EXPECT_NEAR(static_cast<double>(end - start), expectedFrames, kRate * 0.005) << clip;
    const double heardDb = p.levelDb(1000, 1000 + static_cast<std::int64_t>(expectedFrames * 1000 / kRate));
    // The program's outputs leave headroom above the mix for the reader's tone boost.
    EXPECT_NEAR(heardDb - rawDb - kOutputHeadroomDb, -12.0, 0.5) << clip;
}

TEST(RenderedAudio, FadingLowersEachClipByItsFadeLevel) {
    // The same practice twice, with and without QSB: the clips differ only in level.
    auto render = [](bool fading, std::vector<HostRecord::Clip>& clips, std::vector<double>& levels) {
        RenderedPractice p(fading ? "qsb" : "clean", 11);
        p.input->setText("Text2", "6");
        p.input->click("Option9");
        if (fading) p.input->click("Check3");
        p.input->click("Command4");
        while (p.form->practice().practising()) p.wait(100);
        clips = p.host.clips;
        for (const auto& c : clips) levels.push_back(p.levelDb(c.t, c.t + 250));
    };
    std::vector<HostRecord::Clip> faded, clean;
    std::vector<double> fadedDb, cleanDb;
    render(true, faded, fadedDb);
    render(false, clean, cleanDb);
    ASSERT_EQ(faded.size(), clean.size());
    int measured = 0;
    for (std::size_t i = 0; i < faded.size(); ++i) {
        ASSERT_EQ(faded[i].name, clean[i].name);
        if (faded[i].name == "NULL") continue;
        EXPECT_NEAR(fadedDb[i] - cleanDb[i], faded[i].volume / 100.0, 0.3) << "clip " << i << " " << faded[i].name;
        measured += faded[i].volume <= -300;
    }
    EXPECT_GT(measured, 3) << "some clips were faded by 3 dB or more";
}

}  // namespace
}  // namespace tessaly::testing
