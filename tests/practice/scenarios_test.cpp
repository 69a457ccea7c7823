// Whole practices in virtual time, from Start to the marks.
#include "support/form_fixture.h"
#include "practice/expected_copy.h"
#include "base/lines.h"
#include "sound/clip_catalogue.h"

namespace tessaly::testing {
namespace {

// What the load handler does beyond the controls' design-time values.
TEST_F(FormTest, LoadPreparesTheNoiseLoopSilentlyAndTheTimers) {
    EXPECT_FALSE(form.controls().Text6.enabled);
    EXPECT_FALSE(form.timer("Timer3")->enabled());
    EXPECT_EQ(form.timer("Timer3")->interval(), 1000);
    EXPECT_EQ(form.timer("Timer11")->interval(), 10);
    // The noise loop is made silent at a quarter of its rate; nothing plays.
    auto noise = ops("noise");
    ASSERT_EQ(noise.size(), 3u);
    EXPECT_EQ(noise[1].op, "volume");
    EXPECT_EQ(noise[1].value, -10000);
    EXPECT_EQ(noise[2].value, 11025);
    EXPECT_TRUE(ops("noise", "play").empty());
}

class PracticeTest : public FormTest {
protected:
    std::string line(int n) { return readline(form.controls().Text1.text(), n); }
    void answer(const std::string& text) { type("Text6", text + "\r"); }
    // Time from now until the reader has paused at the end of callsign n (grouped).
    std::int64_t readingTime(int n) { return static_cast<std::int64_t>(line(n).size() + 1) * 1100; }
    bool lockedSettingsEnabled() {
        return form.controls().Option8.enabled && form.controls().Option9.enabled && form.controls().Option10.enabled && form.controls().Option11.enabled;
    }
};

TEST_F(PracticeTest, GroupedReadingWaitsForEachAnswerAndMarksAtTheEnd) {
    input.setText("Text2", "3");
    click("Command4");
    EXPECT_TRUE(form.practice().practising());
    EXPECT_FALSE(form.controls().Command4.enabled);
    EXPECT_FALSE(lockedSettingsEnabled());
    EXPECT_TRUE(form.controls().Text6.enabled);
    EXPECT_EQ(host.focused, "Text6");
    ASSERT_EQ(form.practice().groupCount(), 3);
    const std::string first = line(1), second = line(2), third = line(3);

    wait(readingTime(1));
    ASSERT_EQ(host.clips.size(), first.size() + 1);
    for (std::size_t i = 0; i < host.clips.size(); ++i)
        EXPECT_EQ(host.clips[i].t, static_cast<std::int64_t>(1100 * (i + 1))) << "clip " << i;
    EXPECT_EQ(host.clips.back().name, "NULL");
    EXPECT_EQ(host.clips.front().name, clipNameOf(first.substr(0, 1), {}));
    EXPECT_TRUE(form.reader().waitingForAnswer());
    EXPECT_FALSE(form.timer("Timer2")->enabled());

    wait(60'000);  // the reader waits as long as it takes
    EXPECT_EQ(host.clips.size(), first.size() + 1);

    type("Text6", "");  // nothing typed yet
    type("Text6", "\r");  // Enter on an empty box releases nothing
    EXPECT_TRUE(form.reader().waitingForAnswer());
    EXPECT_EQ(form.practice().answerCount(), 0);

    const std::int64_t resumed = clock.nowMs();
    answer(first);
    EXPECT_FALSE(form.reader().waitingForAnswer());
    EXPECT_EQ(form.controls().ListView1.rows[0][1], first);
    EXPECT_EQ(form.controls().ListView1.selectedRow, 1);
    wait(1100);
    EXPECT_EQ(host.clips.back().t, resumed + 1100) << "next callsign one interval after the answer";

    wait(readingTime(2) - 1100);
    answer("WRONG");
    wait(readingTime(3));
    // Reading finished: the last pause ends the practice, unmarked.
    EXPECT_FALSE(form.practice().practising());
    EXPECT_TRUE(form.controls().Command4.enabled);
    EXPECT_TRUE(form.controls().Text6.enabled);
    EXPECT_TRUE(form.timer("Timer12")->enabled());
    EXPECT_FALSE(lockedSettingsEnabled());
    EXPECT_EQ(form.reader().readPos(), 0);
    input.hover("ListView1");
    EXPECT_EQ(form.controls().ListView1.toolTip, "本次练习呼号听抄正确共0个");

    // Lower case is shown in capitals, and the last answer marks the list.
    for (char c : third) input.pressKey("Text6", static_cast<char32_t>(std::tolower(c)));
    EXPECT_EQ(form.controls().Text6.text(), third);
    type("Text6", "\r");
    EXPECT_FALSE(form.controls().Text6.enabled);
    EXPECT_TRUE(lockedSettingsEnabled());
    EXPECT_FALSE(form.timer("Timer12")->enabled());
    EXPECT_EQ(form.controls().Text1.text(), "");
    EXPECT_EQ(form.controls().ListView1.rows[0][3], "Y");
    EXPECT_EQ(form.controls().ListView1.rows[1][3], "N");
    EXPECT_EQ(form.controls().ListView1.rows[2][3], "Y");
    EXPECT_EQ(form.controls().ListView1.rows[1][2], second);
    input.hover("ListView1");
    EXPECT_EQ(form.controls().ListView1.toolTip, "本次练习呼号听抄正确共2个");

    const std::string shown = form.controls().Label6.caption;
    wait(5000);
    EXPECT_EQ(form.controls().Label6.caption, shown) << "the clock stopped at the marking";
    click("Command5");  // nothing left to mark: the marks stay
    EXPECT_EQ(form.controls().ListView1.rows[2][3], "Y");
}

TEST_F(PracticeTest, ContinuousReadingPausesTwoTicksAndTakesOneLateAnswer) {
    click("Option9");
    input.setText("Text2", "20");
    click("Command4");
    std::int64_t total = 0;
    for (int i = 1; i <= 20; ++i) total += static_cast<std::int64_t>(line(i).size() + 2) * 1100;
    total -= 1100;  // the last line's LF is never read
    wait(total - 1);
    EXPECT_TRUE(form.practice().practising());
    const int nullClips = static_cast<int>(std::count_if(host.clips.begin(), host.clips.end(),
                                                         [](const auto& c) { return c.name == "NULL"; }));
    EXPECT_EQ(nullClips, 19 * 2);
    for (int i = 1; i <= 17; ++i) answer(line(i));
    wait(1);
    EXPECT_FALSE(form.practice().practising()) << "the CR of the last line ends the reading";
    EXPECT_EQ(form.reader().readPos(), 0);
    for (const char* role : {"clip", "noise", "qrn"}) EXPECT_FALSE(ops(role, "stop").empty()) << role;

    const std::string late = line(18);
    answer(late);
    EXPECT_FALSE(form.controls().Text6.enabled);
    EXPECT_EQ(form.controls().ListView1.rows[17][1], late);
    EXPECT_EQ(form.controls().ListView1.rows[17][3], "Y");
    EXPECT_EQ(form.controls().ListView1.rows[18][3], "N");
    EXPECT_EQ(form.controls().ListView1.rows[19][3], "N");
    EXPECT_EQ(form.controls().ListView1.rows[19][1], "");
    EXPECT_EQ(form.practice().CountCorrect(), 18);
}

TEST_F(PracticeTest, StopAtAnyPointMarksWhatThereIs) {
    click("Command5");  // before any practice: nothing changes, no summary
    EXPECT_TRUE(form.controls().ListView1.rows.empty());
    EXPECT_EQ(form.controls().Label6.caption, "00:00:00");
    EXPECT_TRUE(form.controls().Command4.enabled && lockedSettingsEnabled());
    input.hover("ListView1");
    EXPECT_EQ(form.controls().ListView1.toolTip, "");
    click("Option9");
    click("Command4");
    const std::string practice = form.controls().Text1.text();
    for (int i = 1; i <= 3; ++i) answer(line(i));
    wait(2500);
    click("Command5");
    EXPECT_FALSE(form.practice().practising());
    EXPECT_TRUE(form.controls().Command4.enabled);
    EXPECT_TRUE(lockedSettingsEnabled());
    EXPECT_FALSE(form.controls().Text6.enabled);
    for (const Timer* t : form.timers())
        if (t->name() != "Timer1") {
            EXPECT_FALSE(t->enabled()) << t->name();
        }
    EXPECT_EQ(form.controls().ListView1.rows[0][3], "Y");
    for (int r = 3; r < 20; ++r) {
        EXPECT_EQ(form.controls().ListView1.rows[r][1], "");
        EXPECT_EQ(form.controls().ListView1.rows[r][3], "N");
    }
    auto marks = form.controls().ListView1.rows;
    click("Command5");  // marking twice gives the same marks
    EXPECT_EQ(form.controls().ListView1.rows, marks);
    EXPECT_EQ(form.controls().Text1.text(), practice) << "Stop leaves the practice text";
    const std::string time = form.controls().Label6.caption;
    EXPECT_EQ(time, "00:00:02");
    // Start again: the old list goes, the clock keeps its time until the first tick.
    click("Command4");
    EXPECT_EQ(form.controls().Label6.caption, time);
    EXPECT_TRUE(form.controls().ListView1.rows[0][1].empty());
    wait(1000);
    EXPECT_EQ(form.controls().Label6.caption, "00:00:01");
}

TEST_F(PracticeTest, AnAnswerPastTheLastRowStopsThePractice) {
    click("Option9");
    input.setText("Text2", "2");
    click("Command4");
    answer(line(1));
    answer(line(2));
    EXPECT_TRUE(form.practice().practising());
    answer("EXTRA");
    EXPECT_FALSE(form.practice().practising());
    EXPECT_FALSE(form.controls().Text6.enabled);
    EXPECT_EQ(form.controls().ListView1.rows.size(), 2u);
    EXPECT_EQ(form.controls().ListView1.rows[0][3], "Y");
    EXPECT_EQ(form.controls().ListView1.rows[1][3], "Y");
    EXPECT_EQ(form.controls().Text1.text(), "") << "the answer box marks and empties the practice text";
}

TEST_F(PracticeTest, AnswersWhileTheReaderSpeaksFillRowsButReleaseNothing) {
    input.setText("Text2", "3");
    click("Command4");
    wait(1100);
    answer("EARLY");  // stored in row 1 while the first callsign is read
    wait(readingTime(1) - 1100);
    EXPECT_TRUE(form.reader().waitingForAnswer());
    answer("SECOND");
    EXPECT_FALSE(form.reader().waitingForAnswer());
    EXPECT_EQ(form.controls().ListView1.rows[0][1], "EARLY");
    EXPECT_EQ(form.controls().ListView1.rows[1][1], "SECOND");
    EXPECT_EQ(form.controls().ListView1.selectedRow, 2);
}

TEST_F(PracticeTest, AnEmptyPracticeRunsUntilStopOrAnAnswer) {
    input.setText("Text2", "0");
    click("Command4");
    EXPECT_EQ(form.practice().groupCount(), 0);
    wait(1100);
    EXPECT_TRUE(form.reader().waitingForAnswer()) << "grouped: the first tick pauses at once";
    EXPECT_TRUE(form.practice().practising());
    answer("X");
    EXPECT_FALSE(form.practice().practising()) << "any answer lies past the last row";

    click("Option9");
    click("Command4");
    wait(11000);
    EXPECT_TRUE(form.practice().practising());
    EXPECT_EQ(host.clips.back().name, "NULL");
    click("Command5");
    EXPECT_FALSE(form.practice().practising());
}

TEST_F(PracticeTest, GroupCountIsCheckedAsItIsTyped) {
    struct Case {
        const char* typed;
        const char* message;  // nullptr: accepted
        const char* after;
    } cases[] = {
        {"500", nullptr, "500"},
        {"501", "练习组数不要大于500组!", "10"},
        {"abc", "练习组数必须为数字!", "10"},
        {"-7", nullptr, "-7"},
        {"99999", "练习组数不要大于500组!", "10"},
    };
    for (const Case& c : cases) {
        host.messages.clear();
        ASSERT_EQ(input.setText("Text2", c.typed), InputResult::Done);
        if (c.message) {
            ASSERT_EQ(host.messages.size(), 1u) << c.typed;
            EXPECT_EQ(host.messages[0].title, "错误");
            EXPECT_EQ(host.messages[0].text, c.message);
        } else {
            EXPECT_TRUE(host.messages.empty()) << c.typed;
        }
        EXPECT_EQ(form.controls().Text2.text(), c.after) << c.typed;
    }
    // Key by key: deleting the last digit leaves an empty, non-numeric box.
    input.setText("Text2", "7");
    host.messages.clear();
    type("Text2", "\b");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "练习组数必须为数字!");
    EXPECT_EQ(form.controls().Text2.text(), "10");
    host.messages.clear();
    type("Text2", "0");  // "100"
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(form.controls().Text2.text(), "100");
}

TEST_F(PracticeTest, SpeedSliderActsOnlyDuringAPractice) {
    input.slide("Slider1", 0);
    EXPECT_EQ(form.timer("Timer2")->interval(), 0);
    click("Command4");
    EXPECT_EQ(form.timer("Timer2")->interval(), 500);
    input.slide("Slider1", 10);
    EXPECT_EQ(form.timer("Timer2")->interval(), 1700);
    wait(1700);
    EXPECT_EQ(host.clips.size(), 1u);
    EXPECT_EQ(host.clips[0].t, 1700);
    input.slide("Slider1", 99);  // clamped to the slider's end
    EXPECT_EQ(form.controls().Slider1.value, 10);
}

TEST_F(PracticeTest, DisabledControlsIgnoreTheUser) {
    click("Command4");
    EXPECT_EQ(input.click("Command4"), InputResult::Ignored);
    EXPECT_EQ(input.click("Option9"), InputResult::Ignored);
    EXPECT_FALSE(form.controls().Option9.value);
    click("Command5");
    EXPECT_EQ(input.type("Text6", "A"), InputResult::Ignored);
    EXPECT_EQ(input.click("Nothing"), InputResult::UnknownControl);
    EXPECT_EQ(input.slide("Command4", 3), InputResult::NotApplicable);
}

}  // namespace
}  // namespace tessaly::testing
