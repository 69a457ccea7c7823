// Band conditions in virtual time: what each one asks of the sound buffers.
#include "support/form_fixture.h"

#include <algorithm>
#include <functional>

namespace tessaly::testing {
namespace {

class ConditionsTest : public FormTest {
protected:
    std::vector<int> values(const std::string& role, const std::string& op, std::size_t from = 0) {
        std::vector<int> out;
        for (std::size_t i = from; i < recorded.size(); ++i)
            if (recorded[i].op.buffer == role && recorded[i].op.op == op) out.push_back(recorded[i].op.value);
        return out;
    }
    int lastNoiseVolume() { return values("noise", "volume").back(); }
};

TEST_F(ConditionsTest, LevelButtonsSetTheNoiseVolumeAtOncePractisingOrNot) {
    const char* buttons[] = {"Option2", "Option3", "Option4", "Option5", "Option6", "Option1"};
    const int volumes[] = {-3000, -2000, -1500, -1000, -500, -10000};
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 6; ++i) {
            click(buttons[i]);
            EXPECT_EQ(lastNoiseVolume(), volumes[i]) << buttons[i];
        }
        if (round == 0) click("Command4");
    }
    EXPECT_FALSE(ops("noise", "play").empty());
    EXPECT_TRUE(ops("noise", "play")[0].loop);
}

TEST_F(ConditionsTest, SupervisorRestoresTheLevelWithinTenMilliseconds) {
    click("Option4");
    click("Command4");
    wait(35);
    form.noiseBuffer->setVolume(-4000);  // anything else that touched it
    form.clipBuffer = nullptr;
    wait(10);
    EXPECT_EQ(lastNoiseVolume(), -1500);
}

TEST_F(ConditionsTest, QrnFollowsItsBoxDuringAPracticeOnly) {
    click("Check1");
    EXPECT_TRUE(ops("qrn", "play").empty()) << "between practices the box only waits for Start";
    click("Command4");
    ASSERT_EQ(ops("qrn", "play").size(), 1u);
    click("Check1");
    EXPECT_EQ(ops("qrn", "stop").size(), 1u);
    click("Check1");
    EXPECT_EQ(ops("qrn", "play").size(), 2u);
    EXPECT_TRUE(values("qrn", "volume").empty()) << "the crackle keeps full volume";
}

TEST_F(ConditionsTest, InterfererSpeaksOnceASecondInTheReadersWordSet) {
    click("Check2");
    click("Command4");
    wait(5000);
    const auto created = ops("qrm", "create");
    ASSERT_EQ(created.size(), 5u);
    for (const auto& c : created) {
        const bool exam = (c.name.size() == 3 && c.name[0] == '3') || (c.name.size() == 2 && c.name[0] == '1');
        EXPECT_TRUE(exam) << c.name;
    }
    EXPECT_EQ(values("qrm", "volume"), std::vector<int>(5, -1200));
    EXPECT_EQ(values("qrm", "frequency"), std::vector<int>(5, 23000));
    click("Check2");  // cut off, and no more
    EXPECT_EQ(ops("qrm", "stop").size(), 1u);
    wait(3000);
    EXPECT_EQ(ops("qrm", "create").size(), 5u);
}

// Every ramp (fade, noise dip, tone sweep) steps from its top to the first step at
// or beyond its floor and back, then hands over to its scheduler. Fed to the ramp
// timer's handler directly, tick by tick.
struct RampCase {
    const char* name;
    float floor;
    int turnsAt, ticks;
};
struct Ramp {
    std::function<void(MainForm&, float floor)> arm;  // at the top, heading down
    std::function<void(MainForm&)> tick;
    std::function<int(const MainForm&)> level;
    Timer MainForm::*ramp;
    Timer MainForm::*scheduler;
    int top;
};
Ramp rampOf(const std::string& name) {
    if (name.rfind("fade", 0) == 0)
        return {[](MainForm& f, float floor) { f.fadeLevel = 0, f.fadeDown = true, f.fadeFloor = floor; },
                [](MainForm& f) { f.channel.Timer5_Timer(); }, [](const MainForm& f) { return f.fadeLevel; },
                &MainForm::Timer5, &MainForm::Timer4, 0};
    if (name == "noise dip")
        return {[](MainForm& f, float floor) { f.noiseDipLevel = 0, f.noiseDipDown = true, f.noiseDipFloor = floor; },
                [](MainForm& f) { f.channel.Timer7_Timer(); }, [](const MainForm& f) { return f.noiseDipLevel; },
                &MainForm::Timer7, &MainForm::Timer6, 0};
    return {[](MainForm& f, float floor) {
                f.toneCentre = 800, f.toneDown = true, f.toneFloor = static_cast<std::int16_t>(floor);
            },
            [](MainForm& f) { f.channel.Timer10_Timer(); }, [](const MainForm& f) { return int{f.toneCentre}; },
            &MainForm::Timer10, &MainForm::Timer9, 800};
}
class RampTest : public ConditionsTest, public ::testing::WithParamInterface<RampCase> {};

TEST_P(RampTest, TurnsAtTheFirstStepBeyondItsFloorAndReturnsToItsTop) {
    const Ramp r = rampOf(GetParam().name);
    click("Command4");
    (form.*r.scheduler).setEnabled(false);
    r.arm(form, GetParam().floor);
    (form.*r.ramp).setEnabled(true);
    int ticks = 0, turn = r.top;
    while ((form.*r.ramp).enabled() && ticks < 1000) {
        r.tick(form);
        turn = std::min(turn, r.level(form));
        ++ticks;
    }
    EXPECT_EQ(turn, GetParam().turnsAt);
    EXPECT_EQ(ticks, GetParam().ticks);
    EXPECT_EQ(r.level(form), r.top);
    EXPECT_TRUE((form.*r.scheduler).enabled()) << "waiting for the next one";
}
INSTANTIATE_TEST_SUITE_P(Ramps, RampTest,
                         ::testing::Values(RampCase{"fade", -900, -900, 91}, RampCase{"fade 2", -910, -920, 93},
                                           RampCase{"fade 3", -2600, -2600, 261},
                                           RampCase{"noise dip", -1234, -1240, 249},
                                           RampCase{"tone sweep", 790, 790, 21}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n) c = c == ' ' ? '_' : c;
                             return n;
                         });

TEST_F(ConditionsTest, FadingGivesEachNewClipTheFadeLevel) {
    click("Check3");
    click("Command4");
    wait(60'000);
    bool faded = false;
    for (const auto& clip : host.clips) {
        EXPECT_LE(clip.volume, 0);
        EXPECT_GE(clip.volume, -2600);
        faded |= clip.volume < 0;
    }
    EXPECT_TRUE(faded) << "a minute of QSB fades some clips";
    // Unticking mid-fade brings the clip now sounding back to full volume at once.
    form.fadeLevel = -400;
    click("Check3");
    EXPECT_EQ(values("clip", "volume").back(), 0);
    EXPECT_FALSE(form.Timer4.enabled());
    EXPECT_FALSE(form.Timer5.enabled());
}

TEST_F(ConditionsTest, UntickingANoiseOrToneVariationEndsItAtOnce) {
    click("Check4");
    for (const char* o : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
        EXPECT_FALSE(form.control(o)->enabled) << o;
    click("Command4");
    wait(1100);  // a clip, so that the tone effect exists
    click("Check6");
    EXPECT_FALSE(form.Slider2.enabled);
    EXPECT_EQ(form.Timer9.interval(), 200);
    // Unticking silences the noise at once, then the supervisor restores the level.
    click("Check4");
    EXPECT_EQ(lastNoiseVolume(), -10000);
    EXPECT_TRUE(form.Option3.enabled);
    EXPECT_FALSE(form.Timer6.enabled() || form.Timer7.enabled());
    wait(10);
    EXPECT_EQ(lastNoiseVolume(), -10000) << "level button 'off' is selected";
    // Unticking mid-sweep gives the voice the slider's tone again.
    form.Timer9.setEnabled(false);
    form.Timer10.setEnabled(true);
    click("Check6");
    EXPECT_FALSE(form.Timer10.enabled() || form.Timer9.enabled());
    EXPECT_EQ(recorded.back().op.eq.centerHz, 2500.0f);
}

TEST_F(ConditionsTest, EverySweepEnds) {
    click("Check6");
    click("Command4");
    wait(10 * 60'000);
    EXPECT_GE(form.toneFloor, 80);
    EXPECT_LT(form.toneFloor, 800);
    // Sweeps start one tick in five at 1 s; each lasts at most ~16 s, so many ran.
    int ends = 0;
    std::int16_t previous = 0;
    for (const auto& r : recorded)
        if (r.op.op == "eq") {
            const auto c = static_cast<std::int16_t>(r.op.eq.centerHz);
            ends += c == 800 && previous == 799;
            previous = c;
        }
    EXPECT_GT(ends, 10);
}

TEST_F(ConditionsTest, SpeedVariationDrivesTheReaderAndTheSupervisorLeavesItAlone) {
    click("Check5");
    EXPECT_FALSE(form.Slider1.enabled);
    EXPECT_TRUE(form.Timer8.enabled()) << "runs even between practices";
    click("Command4");
    EXPECT_EQ(form.Timer2.interval(), 1100);
    wait(2000);
    const int varied = form.Timer2.interval();
    EXPECT_GE(varied, 620);
    EXPECT_LE(varied, 1700);
    EXPECT_EQ((varied - 500) % 120, 0);
    wait(500);
    EXPECT_EQ(form.Timer2.interval(), varied);
    click("Check5");
    EXPECT_EQ(form.Timer2.interval(), 1100);
    EXPECT_TRUE(form.Slider1.enabled);
}

TEST_F(ConditionsTest, SupervisorRewritingTheIntervalNeverDelaysATick) {
    click("Command4");
    wait(30 * 1100);
    for (std::size_t i = 0; i < host.clips.size(); ++i)
        ASSERT_EQ(host.clips[i].t, static_cast<std::int64_t>(1100 * (i + 1)));
}

TEST_F(ConditionsTest, AfterStopNoConditionTimerRunsWhateverItsPhase) {
    for (const char* box : {"Check2", "Check3", "Check4", "Check5", "Check6"}) click(box);
    for (std::int64_t stopAt : {90, 700, 3000, 17'000}) {
        click("Command4");
        wait(stopAt);
        click("Command5");
        for (int n = 2; n <= 11; ++n) EXPECT_FALSE(form.timer("Timer" + std::to_string(n))->enabled()) << n << " @" << stopAt;
        const std::size_t before = recorded.size();
        const std::size_t clips = host.clips.size();
        wait(5000);
        EXPECT_EQ(host.clips.size(), clips);
        for (std::size_t i = before; i < recorded.size(); ++i)
            EXPECT_EQ(recorded[i].op.op, "release") << "after Stop at " << stopAt;
    }
}

}  // namespace
}  // namespace tessaly::testing
