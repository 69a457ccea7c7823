#pragma once
// The window's timers on the Qt event loop: one precise QTimer per timer. The
// classic semantics (interval 0 never fires, rewriting the same interval keeps the
// countdown, anything below 10 ms counts as 10 ms) live in tessaly::Timer; this
// clock only starts, restarts and stops countdowns when a Timer asks it to.
#include "practice/timer.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace tessaly::qt {

class QtTimerClock final : public QObject, public TimerClock {
public:
    QtTimerClock();
    ~QtTimerClock() override;

    // Runs after every tick's handler, e.g. to bring the widgets up to date.
    void setAfterTick(std::function<void()> afterTick) { afterTick_ = std::move(afterTick); }

    // The window is gone: its timers die with it, whatever the handlers ask later.
    void halt();
    bool halted() const { return halted_; }

    // The period the running countdown of `timer` uses in ms, or -1 when it does not run.
    int countdownMs(const Timer& timer) const;

    void timerRestarted(Timer& timer) override;
    void timerStopped(Timer& timer) override;
    void timerRemoved(Timer& timer) override;

private:
    QTimer& countdownFor(Timer& timer);

    std::map<const Timer*, std::unique_ptr<QTimer>> countdowns_;
    std::function<void()> afterTick_;
    const Timer* ticking_ = nullptr;
    bool halted_ = false;
};

}  // namespace tessaly::qt
