#include "practice/paced_clock.h"

#include <algorithm>

namespace tessaly {

PacedClock::PacedClock(std::shared_ptr<Pace> pace) : pace_(std::move(pace)) { pace_->anchor(clock_.nowMs()); }

void PacedClock::setPace(std::shared_ptr<Pace> pace) {
    pace_ = std::move(pace);
    pace_->anchor(clock_.nowMs());
}

void PacedClock::catchUp(std::int64_t limitMs) {
    if (advancing_) return;
    std::int64_t target = pace_->nowMs();
    const std::int64_t due = clock_.nextDueMs();
    if (due >= 0 && target - due > kSlipMs) {
        // Held up: go on from the tick that was due, with no backlog behind it.
        pace_->anchor(due);
        target = due;
        ++slips_;
    }
    if (limitMs >= 0) target = std::min(target, limitMs);
    if (target <= clock_.nowMs()) return;
    advancing_ = true;
    clock_.advance(target - clock_.nowMs());
    advancing_ = false;
}

std::optional<Pace::Clock::time_point> PacedClock::nextWake(std::int64_t limitMs) {
    std::int64_t due = clock_.nextDueMs();
    if (limitMs >= 0 && (due < 0 || limitMs < due)) due = limitMs;
    if (due < 0) return std::nullopt;
    return pace_->when(due);
}

}  // namespace tessaly
