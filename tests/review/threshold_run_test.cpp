// The threshold run through the whole form: the SNR each callsign is read at follows
// the answers as they are confirmed, the threshold comes with the marking, and a run
// stopped early finds none.
#include "support/form_fixture.h"
#include "support/rendered_practice.h"

#include <cmath>
#include <random>

namespace tessaly {
namespace {

using testing::FormTest;

class ThresholdRunTest : public FormTest {
protected:
    // Starts a run of `groups` callsigns.
    void start(int groups) {
        input.setThreshold(true);
        input.setText("Text2", std::to_string(groups));
        input.click("Command4");
    }
    // Waits for the reader to halt at the end of the current callsign, then answers
    // it right or wrong as the staircase's rule marks it.
    void answerNext(bool right) {
        for (int i = 0; i < 200 && !form.reader().waitingForAnswer() && form.practice().practising(); ++i) clock.advance(100);
        const auto row = static_cast<std::size_t>(form.practice().answerCount());
        const std::string& expected = form.practice().rows()[row].expected;
        input.type("Text6", (right ? expected : expected + "X") + "\r");
    }
};

TEST_F(ThresholdRunTest, EachAnswerSetsTheNextCallsignsSnrAndTheMarkingGivesTheThreshold) {
    start(10);
    EXPECT_EQ(form.practice().groupCount(), 10);
    // Down 4 dB on each right copy until the first miss, then 2 dB steps, one up one down.
    const bool answers[10] = {true, true, false, true, false, false, true, true, false, true};
    for (bool right : answers) answerNext(right);
    const std::vector<double> expected = {6, 2, -2, 0, -2, 0, 2, 0, -2, 0};
    ASSERT_EQ(host.trials.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(host.trials[i].n, static_cast<int>(i) + 1);
        EXPECT_DOUBLE_EQ(host.trials[i].snrDb, expected[i]) << "trial " << i + 1;
    }
    // Trials 5 .. 10 and the one the 11th would have had (-2): the mean of seven.
    ASSERT_EQ(host.thresholds.size(), 1u);
    EXPECT_NEAR(host.thresholds[0].snrDb, (-2 + 0 + 2 + 0 - 2 + 0 - 2) / 7.0, 1e-9);
    EXPECT_GT(host.thresholds[0].se, 0);
    EXPECT_EQ(host.thresholds[0].trials, 10);
    // The marks are the list's own; the summary gains the threshold beneath its count.
    EXPECT_EQ(form.controls().ListView1.rows[0][3], "Y");
    EXPECT_EQ(form.controls().ListView1.rows[2][3], "N");
    input.hover("ListView1");
    EXPECT_EQ(form.controls().ListView1.toolTip.get().substr(0, form.controls().ListView1.toolTip.get().find('\n')), "本次练习呼号听抄正确共6个");
    EXPECT_NE(form.controls().ListView1.toolTip.get().find("本次阈值 -0.6 dB"), std::string::npos) << form.controls().ListView1.toolTip.get();
    // The record the export writes carries each row's SNR and the run's threshold.
    const PracticeRecord& record = form.review().lastRecord();
    ASSERT_EQ(record.rows.size(), 10u);
    EXPECT_EQ(record.rows[3].snrDb, 0.0);
    EXPECT_NEAR(*record.thresholdDb, -4.0 / 7.0, 1e-9);
    EXPECT_EQ(record.noise, "snr");
}

TEST_F(ThresholdRunTest, HoldsTheNoiseControlsWhileItRunsAndReadsGroupedWhatever) {
    input.click("Check1");  // QRN and QSB apply as ticked; the noise variation waits
    input.click("Check3");
    input.click("Check4");
    input.click("Option9");  // continuous: a run is read grouped all the same
    start(3);
    EXPECT_FALSE(form.controls().Check4.enabled);
    for (OptionButton* o : {&form.controls().Option1, &form.controls().Option3, &form.controls().Option6}) EXPECT_FALSE(o->enabled);
    EXPECT_FALSE(form.timer("Timer6")->running()) << "no noise dips during a run";
    EXPECT_TRUE(form.timer("Timer4")->running()) << "fading runs as ticked";
    answerNext(true);
    EXPECT_TRUE(form.reader().waitingForAnswer() || form.practice().practising());
    for (int i = 0; i < 2; ++i) answerNext(true);
    ASSERT_EQ(host.thresholds.size(), 0u) << "three callsigns make a run of ten";
    for (int i = 0; i < 7; ++i) answerNext(true);
    EXPECT_EQ(host.thresholds.size(), 1u);
    EXPECT_TRUE(form.controls().Check4.enabled);
    EXPECT_FALSE(form.controls().Option1.enabled) << "the noise variation is still ticked";
    input.click("Check4");
    EXPECT_TRUE(form.controls().Option1.enabled);
}

TEST_F(ThresholdRunTest, StoppedInTheMiddleItFindsNoThreshold) {
    start(20);
    for (int i = 0; i < 6; ++i) answerNext(i % 2 == 0);
    clock.advance(1200);  // the seventh begun
    input.click("Command5");
    EXPECT_TRUE(host.thresholds.empty());
    EXPECT_FALSE(form.review().lastRecord().thresholdDb);
    EXPECT_FALSE(form.threshold().running());
    EXPECT_TRUE(form.controls().Option1.enabled);
    EXPECT_FALSE(form.threshold().armed()) << "the run was for one Start";
    input.hover("ListView1");
    EXPECT_EQ(form.controls().ListView1.toolTip.get(), "本次练习呼号听抄正确共3个\n阈值测试没有做完，没有得出阈值");
    // The rows read keep the SNR they were read at.
    const auto& rows = form.review().lastRecord().rows;
    EXPECT_EQ(rows[0].snrDb, 6.0);
    EXPECT_TRUE(rows[6].snrDb) << "begun, not answered";
    EXPECT_FALSE(rows[7].snrDb) << "never read";
}

// A fast copier confirms each callsign before its reading is over: in a run each answer
// stays in its own row and the reading goes on without waiting; in a plain grouped
// practice the answer is stored and the reader still waits at the callsign's end.
TEST_F(ThresholdRunTest, AnAnswerGivenWhileItsCallsignIsReadCountsForIt) {
    for (const bool run : {true, false}) {
        input.setThreshold(run);
        input.setText("Text2", "10");
        input.click("Command4");
        for (int row = 1; row <= 10 && form.practice().practising(); ++row) {
            while (form.practice().callsignsBegun() < row && form.practice().practising()) clock.advance(100);
            clock.advance(2000);  // the callsign half read
            const std::string& expected = form.practice().rows()[static_cast<std::size_t>(row - 1)].expected;
            input.type("Text6", expected + "\r");
            input.type("Text6", "EARLY\r");  // one more before the next is read: it waits in the box
            EXPECT_EQ(form.controls().Text6.text(), run ? "EARLY" : "") << row;
            if (run) input.setText("Text6", "");
            if (!run) break;
        }
        if (!run) {
            clock.advance(10'000);
            EXPECT_TRUE(form.reader().waitingForAnswer()) << "the window's own rule: the reader waits";
            EXPECT_EQ(form.practice().rows()[1].answer, "EARLY");
            input.click("Command5");
            continue;
        }
        clock.advance(10'000);
        for (const CallsignRow& row : form.practice().rows()) EXPECT_EQ(row.answer, row.expected);
        ASSERT_EQ(host.thresholds.size(), 1u) << "marked when the last answer is in and the reading over";
        EXPECT_FALSE(form.practice().practising());
    }
}

// A listener who copies with a logistic chance around a known 50 % point: over many
// runs the threshold lands near it.
TEST_F(ThresholdRunTest, FindsASimulatedListenersHalfwayPoint) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> chance(0, 1);
    double sum = 0;
    constexpr int kRuns = 12;
    const double points[3] = {-8, -3, 2};
    for (int run = 0; run < kRuns; ++run) {
        const double point = points[run % 3];
        host.thresholds.clear();
        host.trials.clear();
        start(20);
        while (form.practice().practising() || form.controls().Text6.enabled) {
            for (int i = 0; i < 200 && !form.reader().waitingForAnswer() && form.practice().practising(); ++i) clock.advance(100);
            const double snr = host.trials.back().snrDb;
            answerNext(chance(random) < 1 / (1 + std::exp(-0.4 * (snr - point))));  // 10 % a dB at the point
        }
        ASSERT_EQ(host.thresholds.size(), 1u) << "run " << run;
        sum += host.thresholds[0].snrDb - point;
    }
    EXPECT_LT(std::abs(sum / kRuns), 2.0) << "average error over " << kRuns << " runs";
}

}  // namespace
}  // namespace tessaly
