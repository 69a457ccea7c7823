#include "practice/timer.h"

namespace tessaly {

Timer::~Timer() {
    if (clock_) clock_->timerRemoved(*this);
}

void Timer::attach(TimerClock* clock, std::function<void()> onTick) {
    clock_ = clock;
    onTick_ = std::move(onTick);
    update(true);
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    update(true);
}

void Timer::setInterval(int ms) {
    if (ms < 0) ms = 0;
    if (ms == interval_) return;  // same value: the countdown runs on
    interval_ = ms;
    update(true);
}

void Timer::update(bool restart) {
    if (!clock_) return;
    if (running()) {
        if (restart) clock_->timerRestarted(*this);
    } else {
        clock_->timerStopped(*this);
    }
}

}  // namespace tessaly
