#pragma once
// Window timers with the classic semantics the handlers rely on:
//  - an interval of 0 never fires;
//  - writing the interval a timer already has does not restart its countdown
//    (the supervisory timer rewrites the reader's interval every 10 ms);
//  - a changed interval, or switching the timer on, restarts the countdown;
//  - intervals below 10 ms behave as 10 ms.
// The countdown itself belongs to a TimerClock: virtual time for tests and the
// headless host, the Qt event loop for the window.
#include <cstdint>
#include <functional>
#include <string>

namespace tessaly {

class Timer;

class TimerClock {
public:
    virtual ~TimerClock() = default;
    // The clock's time, ms since it started.
    virtual std::int64_t nowMs() const = 0;
    // The timer's enabled state or interval changed so that its countdown must
    // (re)start now, or stop when it no longer runs.
    virtual void timerRestarted(Timer& timer) = 0;
    virtual void timerStopped(Timer& timer) = 0;
    virtual void timerRemoved(Timer& timer) = 0;
};

class Timer {
public:
    static constexpr int kMinimumPeriodMs = 10;

    Timer(std::string name, int number) : name_(std::move(name)), number_(number) {}
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void attach(TimerClock* clock, std::function<void()> onTick);

    bool enabled() const { return enabled_; }
    int interval() const { return interval_; }
    void setEnabled(bool on);
    void setInterval(int ms);

    // True while the timer counts down: on and with a non-zero interval.
    bool running() const { return enabled_ && interval_ > 0; }
    int periodMs() const { return interval_ < kMinimumPeriodMs ? kMinimumPeriodMs : interval_; }
    const std::string& name() const { return name_; }
    int number() const { return number_; }  // 1 for Timer1: the firing order of simultaneous ticks

    void tick() {
        if (onTick_) onTick_();
    }

private:
    void update(bool restart);

    std::string name_;
    int number_;
    bool enabled_ = true;  // placed on the window enabled, with interval 0
    int interval_ = 0;
    TimerClock* clock_ = nullptr;
    std::function<void()> onTick_;
};

}  // namespace tessaly
