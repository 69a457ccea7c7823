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
    // The supervisor applies the level every 10 ms.
    click("Option4");
    const std::size_t from = recorded.size();
    wait(35);
    EXPECT_EQ(values("noise", "volume", from), std::vector<int>(3, -1500));
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
    // Unticking brings the clip now sounding back to full volume at once.
    click("Check3");
    EXPECT_EQ(values("clip", "volume").back(), 0);
    EXPECT_FALSE(form.timer("Timer4")->enabled());
    EXPECT_FALSE(form.timer("Timer5")->enabled());
}

TEST_F(ConditionsTest, UntickingANoiseOrToneVariationEndsItAtOnce) {
    click("Check4");
    for (const char* o : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
        EXPECT_FALSE(form.controls().find(o)->enabled) << o;
    click("Command4");
    wait(1100);  // a clip, so that the tone effect exists
    click("Check6");
    EXPECT_FALSE(form.controls().Slider2.enabled);
    EXPECT_EQ(form.timer("Timer9")->interval(), 200);
    // Unticking silences the noise at once, then the supervisor restores the level.
    click("Check4");
    EXPECT_EQ(lastNoiseVolume(), -10000);
    EXPECT_TRUE(form.controls().Option3.enabled);
    EXPECT_FALSE(form.timer("Timer6")->enabled() || form.timer("Timer7")->enabled());
    wait(10);
    EXPECT_EQ(lastNoiseVolume(), -10000) << "level button 'off' is selected";
    // Unticking mid-sweep gives the voice the slider's tone again.
    for (int ms = 0; ms < 60'000 && !form.timer("Timer10")->enabled(); ms += 10) wait(10);
    ASSERT_TRUE(form.timer("Timer10")->enabled());
    click("Check6");
    EXPECT_FALSE(form.timer("Timer10")->enabled() || form.timer("Timer9")->enabled());
    EXPECT_EQ(recorded.back().op.eq.centerHz, 2500.0f);
}

TEST_F(ConditionsTest, EverySweepEnds) {
    click("Check6");
    click("Command4");
    wait(10 * 60'000);
    // Sweeps start one tick in five at 1 s; each lasts at most ~16 s, so many ran,
    // none below 80 Hz.
    int ends = 0;
    std::int16_t previous = 0, lowest = 800;
    for (const auto& r : recorded)
        if (r.op.op == "eq" && r.op.eq.centerHz <= 800) {
            const auto c = static_cast<std::int16_t>(r.op.eq.centerHz);
            ends += c == 800 && previous == 799;
            lowest = std::min(lowest, c);
            previous = c;
        }
    EXPECT_GT(ends, 10);
    EXPECT_GE(lowest, 80);
}

TEST_F(ConditionsTest, SpeedVariationDrivesTheReaderAndTheSupervisorLeavesItAlone) {
    click("Check5");
    EXPECT_FALSE(form.controls().Slider1.enabled);
    EXPECT_TRUE(form.timer("Timer8")->enabled()) << "runs even between practices";
    click("Command4");
    EXPECT_EQ(form.timer("Timer2")->interval(), 1100);
    wait(2000);
    const int varied = form.timer("Timer2")->interval();
    EXPECT_GE(varied, 620);
    EXPECT_LE(varied, 1700);
    EXPECT_EQ((varied - 500) % 120, 0);
    wait(500);
    EXPECT_EQ(form.timer("Timer2")->interval(), varied);
    click("Check5");
    EXPECT_EQ(form.timer("Timer2")->interval(), 1100);
    EXPECT_TRUE(form.controls().Slider1.enabled);
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
