#include "practice/virtual_clock.h"

#include <gtest/gtest.h>

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

TEST(VirtualClock, ClassicTimerSemantics) {
    TickLog log;
    Timer t("T", 1);
    log.attach(t);
    log.clock.advance(1000);
    EXPECT_TRUE(log.ticks.empty()) << "interval 0 never fires, though enabled";

    t.setInterval(100);
    log.clock.advance(250);
    ASSERT_EQ(log.ticks.size(), 2u);
    EXPECT_EQ(log.ticks[1].first, 1200);

    t.setInterval(100);  // the same value: the countdown runs on
    log.clock.advance(50);
    EXPECT_EQ(log.ticks.size(), 3u);
    EXPECT_EQ(log.ticks[2].first, 1300);

    t.setInterval(40);  // a changed value restarts from now (1300)
    log.clock.advance(40);
    EXPECT_EQ(log.ticks.back().first, 1340);

    t.setEnabled(false);
    log.clock.advance(500);
    EXPECT_EQ(log.ticks.back().first, 1340);
    t.setEnabled(true);  // switching on restarts the countdown
    log.clock.advance(40);
    EXPECT_EQ(log.ticks.back().first, 1880);
}

TEST(VirtualClock, IntervalsBelowTenMillisecondsActAsTen) {
    TickLog log;
    Timer t("T", 1);
    log.attach(t);
    t.setInterval(1);
    log.clock.advance(100);
    EXPECT_EQ(log.ticks.size(), 10u);
}

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

}  // namespace
}  // namespace tessaly
