#include "shell/qt/qt_timer_clock.h"

#include <QTimer>

namespace tessaly::qt {

QtTimerClock::QtTimerClock() = default;
QtTimerClock::~QtTimerClock() = default;

QTimer& QtTimerClock::countdownFor(Timer& timer) {
    auto& slot = countdowns_[&timer];
    if (!slot) {
        slot = std::make_unique<QTimer>();
        // Coarse timers may fire up to 5 % late; the reader's 500 ms steps and the
        // 10 ms supervisory ticks should keep their pace.
        slot->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.get(), &QTimer::timeout, this, [this, t = &timer] {
            if (halted_) return;
            ticking_ = t;
            t->tick();
            ticking_ = nullptr;
            if (afterTick_) afterTick_();
        });
    }
    return *slot;
}

void QtTimerClock::timerRestarted(Timer& timer) {
    if (halted_) return;
    // start() on a running QTimer restarts its countdown from now.
    countdownFor(timer).start(timer.periodMs());
}

void QtTimerClock::timerStopped(Timer& timer) {
    if (auto it = countdowns_.find(&timer); it != countdowns_.end()) it->second->stop();
}

void QtTimerClock::timerRemoved(Timer& timer) {
    auto it = countdowns_.find(&timer);
    if (it == countdowns_.end()) return;
    it->second->stop();
    // A timer that goes away from inside its own tick keeps its QTimer until the
    // timeout signal has returned.
    if (ticking_ == &timer) it->second.release()->deleteLater();
    countdowns_.erase(it);
}

void QtTimerClock::halt() {
    halted_ = true;
    for (auto& [timer, countdown] : countdowns_) countdown->stop();
}

int QtTimerClock::countdownMs(const Timer& timer) const {
    auto it = countdowns_.find(&timer);
    if (it == countdowns_.end() || !it->second->isActive()) return -1;
    return it->second->interval();
}

}  // namespace tessaly::qt
