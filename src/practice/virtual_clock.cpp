#include "practice/virtual_clock.h"

namespace tessaly {

Timer* VirtualClock::nextDue(std::int64_t limit) const {
    Timer* best = nullptr;
    std::int64_t bestDue = 0;
    for (const auto& [timer, due] : due_) {
        if (due > limit) continue;
        if (!best || due < bestDue || (due == bestDue && timer->number() < best->number())) {
            best = timer;
            bestDue = due;
        }
    }
    return best;
}

std::int64_t VirtualClock::nextDueMs() const {
    std::int64_t best = -1;
    for (const auto& [timer, due] : due_)
        if (best < 0 || due < best) best = due;
    return best;
}

std::int64_t VirtualClock::dueMs(const Timer& timer) const {
    const auto it = due_.find(const_cast<Timer*>(&timer));
    return it == due_.end() ? -1 : it->second;
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t end = now_ + (ms < 0 ? 0 : ms);
    while (Timer* timer = nextDue(end)) {
        now_ = due_[timer];
        // Schedule the next tick first: a handler that changes the interval or
        // switches the timer off then overrides it from this moment.
        due_[timer] = now_ + timer->periodMs();
        timer->tick();
    }
    now_ = end;
}

}  // namespace tessaly
