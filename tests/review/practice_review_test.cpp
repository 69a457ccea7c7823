// Learning from the marked practice, through the form as a user drives it: replay,
// the analysis over practices, the drill and the results file.
#include "base/lines.h"
#include "learning/drill.h"
#include "learning/read_units.h"
#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "support/form_fixture.h"
#include "sound/clip_catalogue.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <iterator>

namespace tessaly::testing {
namespace {

// A practice of `groups` callsigns, the first `answers` of them answered wrongly
// ("X" each) and, with readNext, the one after them read but not answered; then
// stopped.
std::vector<std::string> practise(Session& form, UserInput& input, VirtualClock& clock, int groups, int answers,
                                  bool readNext = false) {
    input.setText("Text2", std::to_string(groups));
    input.click("Command4");
    std::vector<std::string> lines;
    for (int n = 1; n <= groups; ++n) lines.push_back(readline(form.controls().Text1.text(), n));
    for (int n = 1; n <= answers; ++n) {
        while (!form.reader().waitingForAnswer() && form.practice().practising()) clock.advance(100);
        input.type("Text6", "X\r");
    }
    if (readNext)
        while (!form.reader().waitingForAnswer() && form.practice().practising()) clock.advance(100);
    input.click("Command5");  // marks, also once the reading has finished
    return lines;
}

class ReviewTest : public FormTest {
protected:
    std::vector<std::string> practise(int groups, int answers, bool readNext = false) {
        return testing::practise(form, input, clock, groups, answers, readNext);
    }
};

TEST_F(ReviewTest, ReplayReadsTheRowAgainAndChangesNothing) {
    const auto lines = practise(2, 1);
    const auto rows = form.controls().ListView1.rows;
    const std::size_t clips = host.clips.size();
    ASSERT_EQ(input.replay(2), InputResult::Done);
    wait(20'000);
    ASSERT_EQ(host.clips.size(), clips + lines[1].size());
    for (std::size_t i = 0; i < lines[1].size(); ++i)
        EXPECT_EQ(host.clips[clips + i].name, clipNameOf(lines[1].substr(i, 1), {})) << i;
    EXPECT_EQ(host.clips[clips + 1].t - host.clips[clips].t, 1100) << "at the reader's pace";
    EXPECT_EQ(form.controls().ListView1.rows, rows);
    EXPECT_FALSE(form.practice().practising());
    for (int bad : {0, 3, -1}) EXPECT_EQ(input.replay(bad), InputResult::Ignored) << bad;
    click("Command4");
    EXPECT_EQ(input.replay(1), InputResult::Ignored) << "not while a practice runs";
}

TEST_F(ReviewTest, AnalysisAddsUpOverPracticesAndCountsOnlyWhatWasRead) {
    EXPECT_EQ(form.review().analysis().practices(), 0);
    const auto first = practise(3, 2, /*readNext=*/true);  // the third callsign is read, not answered
    const auto second = practise(2, 1);                     // stopped before the second is begun
    EXPECT_EQ(form.review().analysis().practices(), 2);
    int read = 0;
    for (const UnitErrors& u : form.review().analysis().rows()) read += u.read;
    const std::size_t expected = first[0].size() + first[1].size() + first[2].size() + second[0].size();
    EXPECT_EQ(read, static_cast<int>(expected));
    const UnitErrors* x = form.review().analysis().unit(std::string(1, first[0][0]));
    ASSERT_TRUE(x);
    EXPECT_GE(x->missed, 1);
}

TEST(Drill, FavoursTheWeakestAndDrawsAsUsualWithoutHistoryOrWhenOff) {
    auto session = [](bool drill) {
        HeadlessSession::Options o;
        o.seed = 9;
        auto s = std::make_unique<HeadlessSession>(std::move(o));
        s->load();
        s->input().setDrill(drill);
        return s;
    };
    // Too little history: the drill draws exactly what no drill draws.
    auto on = session(true), off = session(false);
    EXPECT_EQ(practise(on->form(), on->input(), on->clock(), 6, 0), practise(off->form(), off->input(), off->clock(), 6, 0));

    // Two practices answered all wrong give every character read a history.
    for (auto* s : {on.get(), off.get()})
        for (int round = 0; round < 2; ++round) practise(s->form(), s->input(), s->clock(), 4, 4);
    const auto weakest = on->form().review().analysis().weakest();
    ASSERT_EQ(weakest.size(), 3u);
    EXPECT_EQ(on->form().review().drillUnits(), weakest);
    EXPECT_TRUE(off->form().review().drillUnits().empty()) << "off: the generator is left alone";

    const auto drilled = practise(on->form(), on->input(), on->clock(), 20, 0);
    int holding = 0;
    for (const std::string& line : drilled) {
        holding += callsignDrills(line, weakest);
        EXPECT_TRUE(line.size() >= 5 && line.size() <= 7) << line << ": still an exam-set callsign";
    }
    EXPECT_GE(holding, 10) << "at least half hold a weak character";
}

TEST_F(ReviewTest, ExportedResultsReadBackAsThePractice) {
    const auto lines = practise(3, 2);
    const std::string path = ::testing::TempDir() + "tessaly_review_export.csv";
    ASSERT_EQ(input.exportResults(path), InputResult::Done);
    EXPECT_TRUE(host.messages.empty());
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<PracticeRecord> records;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(text, records, error)) << error;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].words, "exam");
    ASSERT_EQ(records[0].rows.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[0].rows[i].line, lines[i]);
        EXPECT_EQ(records[0].rows[i].answer, form.controls().ListView1.rows[i][1]);
    }
    const StatsReport report = statsReport(records);
    EXPECT_EQ(report.rows, 3);
    EXPECT_EQ(report.copied, 0);
    std::remove(path.c_str());

    // One that cannot be written says so and leaves what was there.
    std::ofstream(path) << "kept";
    ASSERT_EQ(input.exportResults(path + ".d/x.csv"), InputResult::Done);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "导出成绩");
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
    std::remove(path.c_str());
}

// Stopping at any point of a practice: the analysis counts exactly the units whose
// clips had started, each character as often as it was spoken.
struct StopPoint {
    const char* mode;  // the reading: Option8 grouped, Option9 continuous
    int groups;
};

void PrintTo(const StopPoint& p, std::ostream* os) { *os << p.mode << " x" << p.groups; }

class StopAnywhere : public ::testing::TestWithParam<StopPoint> {
protected:
    struct Run {
        HostRecord host;
        std::vector<RecordedOperation> recorded;
        HeadlessSession session{recordingOptions(3, host, recorded)};
        std::string text;  // the practice text, as Start made it
    };
    // Starts the practice and runs it in 10 ms steps (the supervisory timer's own)
    // while `more` says so, answering "X" whenever the reader waits for an answer.
    static std::unique_ptr<Run> practise(const StopPoint& point, const std::function<bool(Run&)>& more) {
        auto run = std::make_unique<Run>();
        HeadlessSession& s = run->session;
        s.load();
        s.input().click(point.mode);
        s.input().setText("Text2", std::to_string(point.groups));
        s.input().click("Command4");
        run->text = s.form().controls().Text1.text();
        while (s.form().practice().practising() && more(*run)) {
            s.clock().advance(10);
            if (s.form().reader().waitingForAnswer()) s.input().type("Text6", "X\r");
        }
        return run;
    }
};

TEST_P(StopAnywhere, AnalysisCountsOnlyTheCharactersWhoseClipsStarted) {
    const StopPoint point = GetParam();
    // The whole practice once: when each unit's clip starts, and what it says.
    std::vector<std::int64_t> startsAt;
    std::vector<std::string> spoken;
    {
        auto whole = practise(point, [](Run&) { return true; });
        for (const auto& clip : whole->host.clips)
            if (clip.name != "NULL") startsAt.push_back(clip.t);
        for (int n = 1; n <= point.groups; ++n)
            for (const ReadUnit& u : unitsRead(readline(whole->text, n))) spoken.push_back(u.name);
    }
    ASSERT_EQ(startsAt.size(), spoken.size());
    ASSERT_GE(spoken.size(), 10u);

    // Stopped just before each clip, and after the last one.
    for (std::size_t started = 0; started <= spoken.size(); ++started) {
        const std::int64_t stopBefore = started < startsAt.size() ? startsAt[started] : INT64_MAX;
        auto run = practise(point, [&](Run& r) { return r.session.clock().nowMs() + 10 < stopBefore; });
        Session& form = run->session.form();
        run->session.input().click("Command5");  // marks, also once the reading has finished
        std::map<std::string, int> expected;
        for (std::size_t i = 0; i < started; ++i) ++expected[spoken[i]];
        std::map<std::string, int> counted;
        for (const UnitErrors& u : form.review().analysis().rows()) counted[u.unit] = u.read;
        EXPECT_EQ(counted, expected) << started << " of " << spoken.size() << " clips started";
    }
}

INSTANTIATE_TEST_SUITE_P(EachReading, StopAnywhere,
                         ::testing::Values(StopPoint{"Option8", 2}, StopPoint{"Option9", 2}),
                         [](const ::testing::TestParamInfo<StopPoint>& info) {
                             return std::string(info.param.mode == std::string("Option8") ? "grouped" : "continuous");
                         });

}  // namespace
}  // namespace tessaly::testing
