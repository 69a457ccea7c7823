// The learning record through the form, as a learner turns it on and practises:
// nothing on disk while it is off; on, each marked practice lands in the record
// with only what was read or answered, and the settings file remembers it; a
// damaged line costs nothing else; the drill and the analysis take the whole
// record, across days. (Turning it off: the script runs of record_script_test.cpp.)
#include "base/lines.h"
#include "learning/learning_record.h"
#include "learning/learning_settings.h"
#include "learning/read_units.h"
#include "learning/review_boxes.h"
#include "practice/expected_copy.h"
#include "support/form_fixture.h"
#include "support/record_folders.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The date `days` from today, as the keeper dates practices.
std::string dayFromToday(const LearningKeeper& keeper, int days) { return addDays(keeper.today(), days); }

// One kept practice of callsigns, each answered as given ("" for right).
PracticeRecord kept(const std::string& date, const std::vector<std::pair<std::string, std::string>>& lineAndAnswer) {
    PracticeRecord p{date, "09:00:00", "exam", "5", "off", {}, {}};
    int n = 0;
    for (const auto& [line, answer] : lineAndAnswer) {
        const std::string copy = answer.empty() ? ExpectedCopy(line) : answer;
        p.rows.push_back({++n, copy, ExpectedCopy(line), copy == ExpectedCopy(line), line});
    }
    p.seconds = 60;
    return p;
}

class LearningKeeperTest : public FormTest {
protected:
    // Starts a practice of `groups` callsigns and answers the first `answers` of
    // them as `answer` gives (from the expected copy); with readNext the callsign
    // after them is begun; then Stop. The practice text's lines.
    std::vector<std::string> practise(int groups, int answers, bool readNext = false,
                                      const std::function<std::string(std::string)>& answer = {}) {
        input.setText("Text2", std::to_string(groups));
        click("Command4");
        std::vector<std::string> lines;
        for (int n = 1; n <= groups; ++n) lines.push_back(readline(form.controls().Text1.text(), n));
        for (int n = 1; n <= answers; ++n) {
            while (!form.reader().waitingForAnswer() && form.practice().practising()) wait(100);
            const std::string expected = ExpectedCopy(lines[static_cast<std::size_t>(n - 1)]);
            input.type("Text6", (answer ? answer(expected) : expected) + "\r");
        }
        if (readNext)
            while (form.practice().callsignsBegun() <= answers) wait(100);
        if (form.practice().practising()) click("Command5");
        return lines;
    }
    RecordContents record() const { return LearningRecord(folders.record()).read(); }

    RecordFolders folders;
};

TEST_F(LearningKeeperTest, OffNothingIsWrittenAfterAWholePracticeTheDrillAndAnExport) {
    input.setDrill(true);
    practise(3, 3);
    practise(2, 1, true);
    bool written = false;
    ASSERT_EQ(input.exportResults(folders.other("results.csv"), &written), InputResult::Done);
    EXPECT_TRUE(written);
    input.setDrill(false);
    EXPECT_TRUE(folders.kept().empty()) << folders.kept().front();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(form.review().recording());
}

TEST_F(LearningKeeperTest, OnAMarkedPracticeLandsWithWhatWasReadOrAnsweredAndIsRemembered) {
    input.setRecord(true);
    ASSERT_TRUE(form.review().recording());
    // Turning it on writes the remembrance at once, and nothing of a record yet.
    EXPECT_EQ(readLearningSettings(folders.settings()).settings, (LearningSettings{true, std::nullopt, false}));
    EXPECT_FALSE(fs::exists(folders.record()));

    // Two answered, the third begun (a few of its characters read), the fourth never begun.
    input.slide("Slider1", 3);
    const auto lines = practise(4, 2, true, [](std::string copy) { return copy + "X"; });
    const RecordContents read = record();
    ASSERT_EQ(read.practices.size(), 1u);
    const PracticeRecord& p = read.practices[0];
    ASSERT_EQ(p.rows.size(), 3u) << "a callsign never begun is no miss";
    EXPECT_EQ(p.rows[0].line, lines[0]);
    EXPECT_EQ(p.rows[0].answer, ExpectedCopy(lines[0]) + "X");
    EXPECT_FALSE(p.rows[0].copied);
    EXPECT_EQ(p.rows[2].answer, "");
    EXPECT_FALSE(p.rows[2].line.empty());
    EXPECT_TRUE(lines[2].starts_with(p.rows[2].line)) << "what was read of it: " << p.rows[2].line;
    EXPECT_LT(p.rows[2].line.size(), lines[2].size()) << "not what was left unread";
    EXPECT_EQ(p.speed, "3");
    EXPECT_EQ(p.date, form.review().keeper().today());

    // The settings file holds the practice's settings for the next start.
    const LearningSettings remembered = readLearningSettings(folders.settings()).settings;
    EXPECT_TRUE(remembered.record);
    ASSERT_TRUE(remembered.lastPractice);
    EXPECT_EQ(remembered.lastPractice->groups, 4);
    EXPECT_EQ(remembered.lastPractice->speed, 3);
    // The drill's state too, as it changes.
    input.setDrill(true);
    EXPECT_TRUE(readLearningSettings(folders.settings()).settings.drill);
    EXPECT_TRUE(host.messages.empty());

    // A practice stopped before anything was read keeps nothing.
    const std::string before = contents(folders.record());
    practise(3, 0);
    EXPECT_EQ(contents(folders.record()), before);
}

TEST_F(LearningKeeperTest, AThresholdRunLandsWithItsThreshold) {
    input.setRecord(true);
    input.setThreshold(true);
    input.setText("Text2", "10");
    click("Command4");
    for (int row = 1; row <= 10; ++row) {
        while (!form.reader().waitingForAnswer() && form.practice().practising()) wait(100);
        const std::string expected = ExpectedCopy(readline(form.controls().Text1.text(), row));
        input.type("Text6", (row % 3 == 0 ? "X" : expected) + "\r");
    }
    ASSERT_EQ(host.thresholds.size(), 1u);
    const RecordContents read = record();
    ASSERT_EQ(read.practices.size(), 1u);
    ASSERT_TRUE(read.practices[0].thresholdDb);
    EXPECT_NEAR(*read.practices[0].thresholdDb, host.thresholds[0].snrDb, 0.05);
    EXPECT_EQ(read.practices[0].rows.size(), 10u);
    // The run is not asked for again at the next start.
    const auto remembered = readLearningSettings(folders.settings()).settings.lastPractice;
    ASSERT_TRUE(remembered);
    EXPECT_FALSE(remembered->threshold);
}

TEST_F(LearningKeeperTest, PracticesStartedInOneSecondOfTheWallClockStayApart) {
    // In virtual time three short practices, alike in all but their callsigns, start
    // within a few milliseconds of the wall clock.
    input.setRecord(true);
    for (int i = 0; i < 3; ++i) practise(2, 0, true);
    const RecordContents read = record();
    EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
    ASSERT_EQ(read.practices.size(), 3u);
    EXPECT_LT(read.practices[0].time, read.practices[1].time);
    EXPECT_LT(read.practices[1].time, read.practices[2].time);
}

TEST_F(LearningKeeperTest, ADamagedLineIsSaidOnceAndCostsNothingElse) {
    const std::string yesterday = dayFromToday(form.review().keeper(), -1);
    std::string error;
    const LearningRecord record(folders.record());
    ASSERT_TRUE(record.append(kept(yesterday, {{"BA4XY", ""}, {"K1ABC", "K1ABD"}}), error)) << error;
    { std::ofstream(folders.record(), std::ios::app | std::ios::binary) << "1,BA4XY,BA4XY,Y,not a row\r\n"; }
    PracticeRecord later = kept(yesterday, {{"JA1XYZ", ""}});
    later.time = "10:00:00";
    ASSERT_TRUE(record.append(later, error)) << error;
    const std::string before = contents(folders.record());

    input.setRecord(true);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("line 4"), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(form.review().keeper().practices().size(), 2u) << "the lines before and after it count";
    EXPECT_EQ(form.review().analysis().practices(), 2);

    practise(2, 2);
    EXPECT_EQ(host.messages.size(), 1u) << "said once, not at every practice";
    const std::string after = contents(folders.record());
    EXPECT_EQ(after.substr(0, before.size()), before) << "only appended to";
    EXPECT_EQ(form.review().keeper().practices().size(), 3u);
    EXPECT_EQ(form.review().analysis().practices(), 3);
}

TEST_F(LearningKeeperTest, TheDrillAndTheAnalysisTakeTheWholeRecordAcrossDays) {
    // V missed three weeks ago and 9 ten days ago, both then read well once a day
    // (no move up); K read well twice a day for days (box 5, not due, never missed).
    std::string error;
    const LearningRecord record(folders.record());
    for (int day = -21; day <= -1; ++day) {
        std::vector<std::pair<std::string, std::string>> rows{{"K1K", ""}, {"K2K", ""}};
        if (day == -21) rows.push_back({"VA1V", "BA1B"});
        else if (day == -10) rows.push_back({"BA9B", "BA5B"});
        else rows.push_back({day % 2 ? "VA1A" : "BA9A", ""});
        ASSERT_TRUE(record.append(kept(dayFromToday(form.review().keeper(), day), rows), error)) << error;
    }
    input.setDrill(true);
    EXPECT_TRUE(form.review().drillUnits().empty()) << "without the record, only this run counts: nothing yet";

    input.setRecord(true);
    EXPECT_EQ(form.review().drillUnits(), (std::vector<std::string>{"V", "9"})) << "box 1 and due; V missed the larger share";
    EXPECT_EQ(form.review().analysis().practices(), 21);
    const ReviewBox* k = boxOf(form.review().keeper().boxes(), "K");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->box, kReviewBoxes);

    // Off: back to this run alone.
    input.setRecord(false);
    EXPECT_TRUE(form.review().drillUnits().empty());
    EXPECT_EQ(form.review().analysis().practices(), 0);
    EXPECT_TRUE(form.review().keeper().boxes().empty());
}

TEST(LearningRecordDelete, AsksFirstAndNoKeepsIt) {
    RecordFolders folders;
    std::string error;
    ASSERT_TRUE(LearningRecord(folders.record()).append(kept("2024-05-01", {{"BA4XY", ""}}), error)) << error;
    for (const bool yes : {false, true}) {
        HostRecord host;
        std::vector<RecordedOperation> sounds;
        HeadlessSession::Options options = recordingOptions(1, host, sounds);
        options.answerYes = yes;
        HeadlessSession session(std::move(options));
        session.load();
        session.input().deleteRecord();
        ASSERT_EQ(host.questions.size(), 1u);
        EXPECT_NE(host.questions[0].text.find(folders.record()), std::string::npos) << host.questions[0].text;
        EXPECT_EQ(fs::exists(folders.record()), !yes);
    }
    // Nothing left to delete: said so, and nothing asked.
    HostRecord host;
    std::vector<RecordedOperation> sounds;
    HeadlessSession session(recordingOptions(1, host, sounds));
    session.input().deleteRecord();
    EXPECT_TRUE(host.questions.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("不存在"), std::string::npos);
}

}  // namespace
}  // namespace tessaly::testing
