// One suite for both timer clocks: the virtual clock of tests and the headless
// host, and the Qt event loop of the window. The Qt runs make no timing
// assertions: they count ticks against other ticks of the same loop, and only a
// generous deadline keeps a broken clock from hanging the suite.
#include "practice/timer.h"
#include "practice/virtual_clock.h"
#include "shell/qt/qt_timer_clock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tessaly::qt {
namespace {

struct VirtualDriver {
    VirtualClock clock;
    // Advances 1 ms at a time until `done` holds or `limitMs` have passed.
    bool runUntil(const std::function<bool()>& done, int limitMs) {
        for (int t = 0; t < limitMs && !done(); ++t) clock.advance(1);
        return done();
    }
};

struct QtDriver {
    QtTimerClock clock;
    bool runUntil(const std::function<bool()>& done, int limitMs) {
        // Wall time only bounds a failing run; passing runs end on `done`.
        QDeadlineTimer deadline(10'000 + 20 * limitMs);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }
};

template <class Driver>
class TimerClockTest : public ::testing::Test {
protected:
    // A timer that counts its ticks and then runs `then`.
    struct Counted {
        Counted(TimerClock& clock, const char* name, int number) : timer(name, number) {
            timer.attach(&clock, [this] {
                ++ticks;
                if (then) then();
            });
        }
        Timer timer;
        int ticks = 0;
        std::function<void()> then;
    };
    Driver driver;
};

using Drivers = ::testing::Types<VirtualDriver, QtDriver>;
TYPED_TEST_SUITE(TimerClockTest, Drivers);

TYPED_TEST(TimerClockTest, ZeroIntervalNeverFiresNorDoesADisabledTimer) {
    typename TestFixture::Counted zero(this->driver.clock, "zero", 1);  // enabled, interval 0
    typename TestFixture::Counted off(this->driver.clock, "off", 2);
    off.timer.setEnabled(false);
    off.timer.setInterval(10);
    typename TestFixture::Counted probe(this->driver.clock, "probe", 3);
    probe.timer.setInterval(20);
    ASSERT_TRUE(this->driver.runUntil([&] { return probe.ticks >= 5; }, 1000));
    EXPECT_EQ(zero.ticks, 0);
    EXPECT_EQ(off.ticks, 0);
}

TYPED_TEST(TimerClockTest, RewritingTheSameIntervalKeepsTheCountdown) {
    // Like the supervisory timer re-applying the reader's interval every 10 ms.
    typename TestFixture::Counted reader(this->driver.clock, "reader", 2);
    reader.timer.setInterval(50);
    typename TestFixture::Counted rewriter(this->driver.clock, "rewriter", 11);
    rewriter.then = [&] { reader.timer.setInterval(50); };
    rewriter.timer.setInterval(10);
    ASSERT_TRUE(this->driver.runUntil([&] { return reader.ticks >= 3; }, 1000));
    EXPECT_GT(rewriter.ticks, reader.ticks);
}

TYPED_TEST(TimerClockTest, AChangedIntervalRestartsTheCountdown) {
    typename TestFixture::Counted target(this->driver.clock, "target", 2);
    target.timer.setInterval(40);
    typename TestFixture::Counted changer(this->driver.clock, "changer", 11);
    changer.then = [&] { target.timer.setInterval(target.timer.interval() == 40 ? 41 : 40); };
    changer.timer.setInterval(10);
    ASSERT_TRUE(this->driver.runUntil([&] { return changer.ticks >= 30; }, 1000));
    EXPECT_EQ(target.ticks, 0);
    changer.timer.setEnabled(false);
    EXPECT_TRUE(this->driver.runUntil([&] { return target.ticks >= 1; }, 1000));
}

TYPED_TEST(TimerClockTest, SwitchingOffStopsAndSwitchingOnStartsAgain) {
    typename TestFixture::Counted target(this->driver.clock, "target", 1);
    target.timer.setInterval(30);
    ASSERT_TRUE(this->driver.runUntil([&] { return target.ticks >= 1; }, 1000));
    target.timer.setEnabled(false);
    const int ticksWhenOff = target.ticks;
    typename TestFixture::Counted probe(this->driver.clock, "probe", 2);
    probe.timer.setInterval(10);
    ASSERT_TRUE(this->driver.runUntil([&] { return probe.ticks >= 10; }, 1000));
    EXPECT_EQ(target.ticks, ticksWhenOff);
    target.timer.setEnabled(true);
    EXPECT_TRUE(this->driver.runUntil([&] { return target.ticks > ticksWhenOff; }, 1000));
}

TYPED_TEST(TimerClockTest, IntervalsBelowTenMillisecondsActAsTen) {
    typename TestFixture::Counted fast(this->driver.clock, "fast", 1);
    fast.timer.setInterval(1);
    typename TestFixture::Counted ten(this->driver.clock, "ten", 2);
    ten.timer.setInterval(10);
    ASSERT_TRUE(this->driver.runUntil([&] { return ten.ticks >= 20; }, 1000));
    // At 1 ms it would tick about ten times as often as the 10 ms timer.
    EXPECT_GE(fast.ticks, 1);
    EXPECT_LE(fast.ticks, ten.ticks + 1);
}

TYPED_TEST(TimerClockTest, AHandlerMaySwitchItsOwnTimerOff) {
    typename TestFixture::Counted once(this->driver.clock, "once", 1);
    once.then = [&] { once.timer.setEnabled(false); };
    once.timer.setInterval(20);
    typename TestFixture::Counted probe(this->driver.clock, "probe", 2);
    probe.timer.setInterval(10);
    ASSERT_TRUE(this->driver.runUntil([&] { return probe.ticks >= 10; }, 1000));
    EXPECT_EQ(once.ticks, 1);
}

// Only the Qt clock has a window to outlive.
TEST(QtTimerClockTest, HaltedClockStopsEveryCountdownForGood) {
    QtTimerClock clock;
    Timer timer("timer", 1);
    timer.attach(&clock, [] {});
    timer.setInterval(100);
    EXPECT_EQ(clock.countdownMs(timer), 100);
    clock.halt();
    EXPECT_EQ(clock.countdownMs(timer), -1);
    timer.setInterval(200);  // a handler asking after the window closed
    EXPECT_EQ(clock.countdownMs(timer), -1);
}

}  // namespace
}  // namespace tessaly::qt
