#include "practice/excursion.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Every ramp (fade, noise dip, tone sweep) steps from its top to the first step at or
// beyond its floor and back, then hands over to its scheduler. The rules' steps are
// the band's and the reader's; the chance and the floor are fixed here, so that the
// first scheduler tick starts an excursion to that floor.
TEST(Excursion, TurnsAtTheFirstStepBeyondItsFloorAndReturnsToItsTop) {
    struct Case {
        const char* name;
        int top, step, floor, turnsAt, ticks;
    } cases[] = {
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
