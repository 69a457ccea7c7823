// The form's timers in a live host: ticks at their exact due times on the form
// clock however late the host wakes, and a host held up for long slips.
#include "practice/paced_clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tessaly {
namespace {

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

}  // namespace
}  // namespace tessaly
