// A pile-up through the whole session, in virtual time: who calls, and who calls
// again after each kind of answer.
#include "pileup/call_matching.h"
#include "support/form_fixture.h"

namespace tessaly::testing {
namespace {

TEST(CallMatching, WorkedBustQueryOrNothing) {
    const std::vector<std::string> calling = {"BA4XY", "JA1ABC", "K4KX"};
    using K = CallMatch::Kind;
    const struct {
        const char* typed;
        K kind;
        std::vector<std::size_t> stations;
    } cases[] = {
        {"JA1ABC", K::Worked, {1}}, {"JA1ABD", K::Bust, {1}},   {"BA4X", K::Bust, {0}},    {"B4XYZ", K::Bust, {0}},
        {"ZZ9ZZ", K::Nothing, {}},  {"4K?", K::Query, {2}},     {"A?", K::Query, {0, 1}},  {"?", K::Query, {}},
        {"", K::Nothing, {}},       {"K4K", K::Bust, {2}},      {"BA4XYQQ", K::Bust, {0}},
    };
    for (const auto& c : cases) {
        const CallMatch m = matchCall(c.typed, calling);
        EXPECT_EQ(m.kind, c.kind) << c.typed;
        EXPECT_EQ(m.stations, c.stations) << c.typed;
    }
    EXPECT_EQ(editDistance("BA4XY", "AB4XY"), 2u);
    EXPECT_EQ(editDistance("", "K1A"), 3u);
}

class PileupTest : public FormTest {
protected:
    explicit PileupTest(std::uint64_t seed = 3) : FormTest(seed) {}
    void start(int stations, int rounds, bool stream = false) {
        ASSERT_EQ(input.setPileup(stations), InputResult::Done);
        ASSERT_EQ(input.setPileupStream(stream), InputResult::Done);
        input.setText("Text2", std::to_string(rounds));
        click("Command4");
    }
    // The events of one name since `from`, each as its first text field (a callsign).
    std::vector<std::string> named(const std::string& name, std::size_t from = 0) const {
        std::vector<std::string> out;
        for (std::size_t i = from; i < host.events.size(); ++i)
            if (host.events[i].name == name) {
                const EventValue& v = host.events[i].fields[0].second;
                out.push_back(std::holds_alternative<std::string>(v) ? std::get<std::string>(v)
                                                                      : std::to_string(std::get<long long>(v)));
            }
        return out;
    }
    std::vector<std::string> callers() const { return named("caller"); }
};

TEST_F(PileupTest, SeededRoundsAreTheSameEveryTimeAndTheStrongestIsAtTheReadersLevel) {
    start(4, 1);
    const auto& first = form.pileup().callers();
    ASSERT_EQ(first.size(), 4u);
    HeadlessSession::Options options;
    options.seed = 3;
    HeadlessSession again(options);
    again.load();
    again.input().setPileup(4);
    again.input().setText("Text2", "1");
    again.input().click("Command4");
    const auto& second = again.form().pileup().callers();
    ASSERT_EQ(second.size(), 4u);
    int strongest = -10000;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].caller.callsign, second[i].caller.callsign);
        EXPECT_EQ(first[i].caller.levelHundredths, second[i].caller.levelHundredths);
        EXPECT_EQ(first[i].caller.offsetMs, second[i].caller.offsetMs);
        EXPECT_GE(first[i].caller.levelHundredths, -1500);
        EXPECT_LE(first[i].caller.offsetMs, 600);
        EXPECT_EQ(first[i].caller.offsetMs % 10, 0);
        strongest = std::max(strongest, first[i].caller.levelHundredths);
    }
    EXPECT_EQ(strongest, 0);
    EXPECT_EQ(named("call").size(), 4u) << "all four call at once";
    EXPECT_FALSE(form.timer("Timer2")->enabled()) << "the reader stays silent";
}

TEST_F(PileupTest, WorkingACallerRemovesItAndOnlyIt) {
    start(3, 2);
    const auto names = callers();
    wait(9000);
    type("Text6", names[1] + "\r");
    EXPECT_EQ(named("worked"), std::vector<std::string>{names[1]});
    const std::size_t after = host.events.size();
    wait(1990);
    EXPECT_TRUE(named("call", after).empty()) << "a pause of 2 s first";
    wait(10);
    EXPECT_EQ(named("call", after), (std::vector<std::string>{names[0], names[2]}));
    EXPECT_EQ(form.practice().rows()[1].answer, names[1]);
    EXPECT_EQ(form.pileup().calling(), 2);
}

TEST_F(PileupTest, ABustAndAQueryCallTheRightStationsAgain) {
    start(3, 1);
    const auto names = callers();
    wait(9000);
    std::string bust = names[2];
    bust.back() = bust.back() == 'Q' ? 'R' : 'Q';
    type("Text6", bust + "\r");
    ASSERT_EQ(host.events.back().name, "bust");
    EXPECT_EQ(std::get<std::string>(host.events.back().fields[1].second), names[2]);
    std::size_t from = host.events.size();
    wait(2000);
    EXPECT_EQ(named("call", from), std::vector<std::string>{names[2]}) << "the busted station alone";
    EXPECT_EQ(form.pileup().busts(), 1);
    // A query with a part only the first caller holds.
    const std::string part = names[0].substr(0, 3) + "?";
    type("Text6", part + "\r");
    from = host.events.size() - 1;
    ASSERT_EQ(host.events[from].name, "query");
    const auto asked = std::get<std::vector<std::string>>(host.events[from].fields[1].second);
    wait(2000);
    EXPECT_EQ(named("call", from), asked);
    EXPECT_NE(std::find(asked.begin(), asked.end(), names[0]), asked.end());
}

TEST_F(PileupTest, RoundsEndWhenCallsRunOutAndThePracticeIsMarked) {
    start(2, 2);
    wait(10 * 60'000);
    EXPECT_FALSE(form.practice().practising());
    EXPECT_EQ(named("round").size(), 2u);
    EXPECT_EQ(named("call").size(), 2u * 2 * Pileup::kMostCalls) << "two rounds of two callers, four calls each";
    ASSERT_EQ(form.practice().rows().size(), 4u);
    for (const CallsignRow& row : form.practice().rows()) EXPECT_EQ(row.copied, false);
    for (const PileupCaller& c : form.pileup().callers()) EXPECT_EQ(c.outcome, PileupCaller::Outcome::Missed);
    EXPECT_EQ(form.practice().summaryAddition(), "呼叫堆积：联络 0 个电台，抄错 0 次，每小时 0 个");
}

TEST_F(PileupTest, InAStreamANewCallerJoinsForEachOneWorked) {
    start(2, 3, /*stream=*/true);
    const auto names = callers();
    ASSERT_EQ(names.size(), 2u);
    wait(9000);
    type("Text6", names[0] + "\r");
    ASSERT_EQ(callers().size(), 3u);
    wait(2000);
    EXPECT_EQ(named("call").back(), callers().back()) << "the newcomer calls with the rest";
    EXPECT_EQ(form.pileup().calling(), 2);
}

// Each caller fades over a path of its own while the pile-up runs; once it stops,
// its paths are off again, and a practice after it leaves them so.
TEST_F(PileupTest, CallersPathsGoWithThePileup) {
    const auto paths = [this] {
        std::vector<std::string> names;
        for (const SoundOperation& op : ops("channel", "path"))
            if (op.name.starts_with("caller")) names.push_back(op.name);
        recorded.clear();
        return names;
    };
    input.setPath("moderate");
    start(3, 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"caller1:moderate", "caller2:moderate", "caller3:moderate"}));
    click("Command5");
    EXPECT_EQ(paths(), (std::vector<std::string>{"caller1:off", "caller2:off", "caller3:off"}));
    ASSERT_EQ(input.setPileup(0), InputResult::Done);
    click("Command4");
    EXPECT_EQ(paths(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tessaly::testing
