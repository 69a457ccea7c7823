#pragma once
// Virtual time for tests and the headless host: advancing fires every due timer in
// time order (simultaneous ones by timer number), including those due exactly at
// the end, so a run is the same every time.
#include "practice/timer.h"

#include <cstdint>
#include <map>

namespace tessaly {

class VirtualClock final : public TimerClock {
public:
    std::int64_t nowMs() const override { return now_; }
    // Advances to now + ms, ticking every timer that falls due on the way.
    void advance(std::int64_t ms);
    // The next time a timer falls due, or -1 when none runs.
    std::int64_t nextDueMs() const;
    // When `timer` falls due next, or -1 when it does not run.
    std::int64_t dueMs(const Timer& timer) const;

    void timerRestarted(Timer& timer) override { due_[&timer] = now_ + timer.periodMs(); }
    void timerStopped(Timer& timer) override { due_.erase(&timer); }
    void timerRemoved(Timer& timer) override { due_.erase(&timer); }

private:
    Timer* nextDue(std::int64_t limit) const;

    std::int64_t now_ = 0;
    std::map<Timer*, std::int64_t> due_;
};

}  // namespace tessaly
