// The threshold run through the whole form: each answer is scored by character as it
// is confirmed and fixes the SNR of the next callsign, the threshold comes with the
// marking, and a run stopped early finds none.
#include "support/form_fixture.h"
#include "support/record_folders.h"
#include "support/rendered_practice.h"
#include "base/practice_settings.h"
#include "learning/read_units.h"

#include <algorithm>

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
    // Waits for the reader to halt at the end of the current callsign, then answers it
    // with its first `missed` characters left out; the characters it read.
    int answerNext(int missed) {
        for (int i = 0; i < 200 && !form.reader().waitingForAnswer() && form.practice().practising(); ++i) clock.advance(100);
        const CallsignRow& row = form.practice().rows()[static_cast<std::size_t>(form.practice().answerCount())];
        const int read = static_cast<int>(unitsRead(row.line).size());
        const std::string typed = row.expected.substr(static_cast<std::size_t>(std::min(missed, read)));
        input.type("Text6", (typed.empty() ? "?" : typed) + "\r");
        return read;
    }
    void answerNext(bool right) { answerNext(right ? 0 : 99); }
};

TEST_F(ThresholdRunTest, EachAnswerIsScoredByCharacterAndFixesTheNextCallsignsSnr) {
    start(10);
    EXPECT_EQ(form.practice().groupCount(), 10);
    const int missed[10] = {0, 0, 1, 3, 2, 9, 4, 3, 5, 2};
    ThresholdRunPlan plan(10);
    std::vector<int> read;
    for (const int m : missed) {
        read.push_back(answerNext(m));
        plan.answer(read.back(), read.back() - std::min(m, read.back()));
    }
    ASSERT_EQ(host.trials.size(), 10u);
    EXPECT_EQ(host.trials[0].snrDb, 6.0);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(host.trials[i].snrDb, plan.snrs()[i]) << "trial " << i + 1;
    // Each answer's score, as it is given.
    std::vector<PracticeEvent> answers;
    for (const PracticeEvent& e : host.events)
        if (e.name == "answer") answers.push_back(e);
    ASSERT_EQ(answers.size(), 10u);
    EXPECT_EQ(std::get<long long>(answers[3].fields[0].second), 4);
    EXPECT_EQ(std::get<long long>(answers[3].fields[2].second), read[3]);
    EXPECT_EQ(std::get<long long>(answers[3].fields[3].second), read[3] - 3);
    // The threshold comes with the marking: the plan's, from the same answers.
    const ThresholdEstimate found = *plan.threshold();
    ASSERT_EQ(host.thresholds.size(), 1u);
    EXPECT_NEAR(host.thresholds[0].snrDb, found.snrDb, 1e-9);
    EXPECT_NEAR(host.thresholds[0].se, found.se, 1e-9);
    EXPECT_EQ(host.thresholds[0].trials, 10);
    input.hover("ListView1");
    const std::string tip = form.controls().ListView1.toolTip.get();
    EXPECT_NE(tip.find("\n本次字符阈值 " + snrText(found.snrDb) + " dB（±" + snrText(found.se) + "）"), std::string::npos) << tip;
    EXPECT_NE(tip.find("\n整个呼号抄对一半约在 " + snrText(found.wholeSnrDb) + " dB"), std::string::npos) << tip;
    // The record the export writes carries each row's SNR and the run's threshold.
    const PracticeRecord& record = form.review().lastRecord();
    ASSERT_EQ(record.rows.size(), 10u);
    EXPECT_EQ(record.rows[3].snrDb, plan.snrs()[3]);
    EXPECT_NEAR(*record.thresholdDb, found.snrDb, 1e-9);
    EXPECT_NEAR(*record.thresholdWholeDb, found.wholeSnrDb, 1e-9);
    EXPECT_EQ(record.thresholdMethod, "characters");
    EXPECT_EQ(record.noise, "snr");
}

// With the learning record on, a run starts 4 dB above the last threshold taken under
// the same conditions; under others, at +6 dB.
TEST_F(ThresholdRunTest, StartsAboveTheLastThresholdOfTheSameConditions) {
    testing::RecordFolders folders;
    input.setRecord(true);
    start(10);
    for (int i = 0; i < 10; ++i) answerNext(i % 4);
    ASSERT_EQ(host.thresholds.size(), 1u);
    const double last = host.thresholds[0].snrDb;
    for (const bool passband : {false, true}) {
        input.setPassband(passband);
        host.trials.clear();
        start(10);
        while (host.trials.empty()) clock.advance(100);
        EXPECT_NEAR(host.trials[0].snrDb, passband ? 6.0 : last + 4, 0.051) << passband;
        input.click("Command5");
    }
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

}  // namespace
}  // namespace tessaly
