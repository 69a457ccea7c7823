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

}  // namespace
}  // namespace tessaly
