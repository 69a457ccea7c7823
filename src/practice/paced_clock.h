#pragma once
// The form's timers in a live host: virtual time, moved on as a Pace says it is now
// (the sound output's frames, or the steady clock without one). Each timer ticks at
// its exact due time on the form clock, as offline, however late its host's thread
// wakes; only a host held up for longer than kSlipMs (a stalled UI thread) slips,
// going on from the tick that was due instead of firing every tick it missed.
#include "practice/virtual_clock.h"
#include "sound/pace.h"

#include <memory>
#include <optional>

namespace tessaly {

class PacedClock {
public:
    static constexpr std::int64_t kSlipMs = 200;

    explicit PacedClock(std::shared_ptr<Pace> pace = steadyPace());

    VirtualClock& clock() { return clock_; }
    const VirtualClock& clock() const { return clock_; }
    std::int64_t nowMs() const { return clock_.nowMs(); }

    // Another pace takes over, reading the form clock's time now.
    void setPace(std::shared_ptr<Pace> pace);

    // Moves the form clock on to the pace's now (no further than `limitMs`),
    // ticking every timer due on the way. Does nothing when called from inside a tick.
    void catchUp(std::int64_t limitMs = -1);
    // When to wake up for the next due timer (or for `limitMs`, if sooner), on the
    // steady clock; nullopt when nothing is due and there is no limit.
    std::optional<Pace::Clock::time_point> nextWake(std::int64_t limitMs = -1);
    // How many times a held-up host slipped.
    int slips() const { return slips_; }

private:
    VirtualClock clock_;
    std::shared_ptr<Pace> pace_;
    bool advancing_ = false;
    int slips_ = 0;
};

}  // namespace tessaly
