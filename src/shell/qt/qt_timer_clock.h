#pragma once
// The window's timers on the Qt event loop. They run on virtual time, as in the
// headless host: a tick due at t ms runs with the form clock reading t, and the sound
// it makes is stamped with that time (see sound/pace.h). The form clock is moved on
// as a Pace says it is now: the live sound's own frames once the output is open,
// the steady clock before. One precise QTimer wakes the loop when the next timer is
// due; before every user input the form clock catches up first, so that an action
// sees the ticks due before it and stamps its sound with the time it happened.
// Timer semantics (interval 0 never fires, rewriting the same interval keeps the
// countdown, below 10 ms counts as 10 ms) live in tessaly::Timer and VirtualClock.
#include "practice/paced_clock.h"
#include "practice/timer.h"

#include <QObject>

#include <functional>
#include <memory>

class QTimer;

namespace tessaly::qt {

class QtTimerClock final : public QObject, public TimerClock {
public:
    explicit QtTimerClock(std::shared_ptr<Pace> pace = steadyPace());
    ~QtTimerClock() override;

    // Another pace takes over from now (the live sound, once open).
    void setPace(std::shared_ptr<Pace> pace);
    std::int64_t nowMs() const override { return paced_.nowMs(); }

    // Runs after the ticks of every wake-up, e.g. to bring the widgets up to date.
    void setAfterTick(std::function<void()> afterTick) { afterTick_ = std::move(afterTick); }
    // Moves the form clock on to now, ticking what is due (user input does this first).
    void catchUp();

    // The window is gone: its timers die with it, whatever the handlers ask later.
    void halt();
    bool halted() const { return halted_; }

    // The period the running countdown of `timer` uses in ms, or -1 when it does not run.
    int countdownMs(const Timer& timer) const;
    // How many times a held-up event loop slipped rather than tick a backlog.
    int slips() const { return paced_.slips(); }

    void timerRestarted(Timer& timer) override;
    void timerStopped(Timer& timer) override;
    void timerRemoved(Timer& timer) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rearm();  // the wake-up for the next due timer
    void wake();

    PacedClock paced_;
    QTimer* wakeUp_;
    std::function<void()> afterTick_;
    bool halted_ = false;
    bool catchingUp_ = false;
};

}  // namespace tessaly::qt
