// The form clocks: virtual ticks in timer order, a live host catching up or slipping,
// and the ramps driven by them.
#include "practice/virtual_clock.h"
#include "practice/paced_clock.h"
#include "practice/excursion.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tessaly {
namespace {

struct TickLog {
    VirtualClock clock;
    std::vector<std::pair<std::int64_t, int>> ticks;  // (time, timer number)
    void attach(Timer& t) {
        t.attach(&clock, [this, &t] { ticks.emplace_back(clock.nowMs(), t.number()); });
    }
};

// The classic semantics themselves are one suite run on both clocks (tests/shell).
TEST(VirtualClock, SimultaneousTicksFireByTimerNumberAndTheEndIsInclusive) {
    TickLog log;
    Timer late("Timer12", 12), early("Timer2", 2);
    log.attach(late);
    log.attach(early);
    late.setInterval(500);
    early.setInterval(500);
    log.clock.advance(500);
    ASSERT_EQ(log.ticks.size(), 2u);
    EXPECT_EQ(log.ticks[0].second, 2);
    EXPECT_EQ(log.ticks[1].second, 12);
}

TEST(VirtualClock, AHandlerCanStopOrRetimeItselfAndOthers) {
    VirtualClock clock;
    Timer a("A", 1), b("B", 2);
    std::vector<std::int64_t> bTicks;
    a.attach(&clock, [&] {
        a.setEnabled(false);
        b.setInterval(30);  // b restarts from a's tick
    });
    b.attach(&clock, [&] { bTicks.push_back(clock.nowMs()); });
    a.setInterval(100);
    b.setInterval(80);
    clock.advance(200);
    EXPECT_EQ(bTicks, (std::vector<std::int64_t>{80, 130, 160, 190}));
}

// A pace that says whatever the test sets.
struct ScriptedPace final : Pace {
    std::int64_t now = 0;
    std::int64_t nowMs() override { return now; }
    Clock::time_point when(std::int64_t ms) override { return Clock::time_point{} + std::chrono::milliseconds(ms); }
    void anchor(std::int64_t ms) override { now = ms; }
};

TEST(PacedClock, TicksAtTheirDueTimesAndAHeldUpHostSlipsInsteadOfBursting) {
    auto pace = std::make_shared<ScriptedPace>();
    PacedClock paced(pace);
    std::vector<std::int64_t> ticks;
    Timer timer("timer", 1);
    timer.attach(&paced.clock(), [&] { ticks.push_back(paced.nowMs()); });
    timer.setInterval(100);
    pace->now = 250;  // woke up 50 ms after the second tick was due: both tick, on time
    paced.catchUp();
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 200}));
    pace->now = 5000;  // held up for seconds: one tick, then the time goes on from there
    paced.catchUp();
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 200, 300}));
    EXPECT_EQ(paced.slips(), 1);
    pace->now = 450;
    paced.catchUp();
    EXPECT_EQ(ticks.back(), 400);
}

// Every ramp (fade, noise dip, tone sweep) steps from its top to the first step at or
// beyond its floor and back, then hands over to its scheduler. The rules' steps are
// the band's and the reader's; the chance and the floor are fixed here, so that the
// first scheduler tick starts an excursion to that floor.
TEST(Excursion, TurnsAtTheFirstStepBeyondItsFloorAndReturnsToItsTop) {
    struct Case { const char* name; int top, step, floor, turnsAt, ticks; } cases[] = {
        {"fade", 0, 20, -900, -900, 91},          {"fade 2", 0, 20, -910, -920, 93},
        {"fade 3", 0, 20, -2600, -2600, 261},     {"noise dip", 0, 10, -1234, -1240, 249},
        {"tone sweep", 800, 1, 790, 790, 21},
    };
    for (const Case& c : cases) {
        const ExcursionRule rule{c.top, c.step, 1, 0, 1, 50, 1, c.floor};
        Timer scheduler("scheduler", 1), ramp("ramp", 2);
        RandomSource random(1);
        Excursion<int, float> excursion(rule, scheduler, ramp, random);
        excursion.start(100);
        excursion.schedulerTick();
        ASSERT_TRUE(ramp.enabled() && !scheduler.enabled()) << c.name;
        EXPECT_EQ(ramp.interval(), 50) << c.name;
        int ticks = 0, turn = c.top;
        while (ramp.enabled() && ticks < 1000) {
            excursion.rampTick();
            turn = std::min(turn, excursion.value());
            ++ticks;
        }
        EXPECT_EQ(turn, c.turnsAt) << c.name;
        EXPECT_EQ(ticks, c.ticks) << c.name;
        EXPECT_EQ(excursion.value(), c.top) << c.name;
        EXPECT_TRUE(scheduler.enabled()) << c.name << ": waiting for the next one";
    }
}

}  // namespace
}  // namespace tessaly
