#pragma once
// How a live host keeps the form's clock in step with the sound it makes.
//
// The form's timers run on virtual time, offline and live alike: a tick due at
// t ms runs with the form clock reading exactly t, and every sound operation it
// issues is stamped with that time. Offline, the render moves the clock on. Live, the
// host moves it on as a Pace says it is now, and sleeps until the pace reaches the
// next timer's due time; the sound engine plays each operation on the output frame
// that its time maps to, so the spacing of the sounds is the offline render's
// whatever the moment the host's thread woke up.
#include <chrono>
#include <cstdint>
#include <memory>

namespace tessaly {

class Pace {
public:
    using Clock = std::chrono::steady_clock;
    virtual ~Pace() = default;
    // The form-clock time it is now, in ms. Never less than an earlier answer since
    // the last anchor; it may stand still (an output that has not started renders nothing).
    virtual std::int64_t nowMs() = 0;
    // When, on the steady clock, the form clock reaches `ms`: the moment to wake up
    // for a timer due then.
    virtual Clock::time_point when(std::int64_t ms) = 0;
    // From this moment on the form clock reads `ms`: a new pace taking over from
    // another, or a host that was held up going on from where it stopped instead of
    // catching up with every tick it missed.
    virtual void anchor(std::int64_t ms) = 0;
};

// The steady clock, reading `ms` now: for a host without a sound output.
std::unique_ptr<Pace> steadyPace(std::int64_t ms = 0);

}  // namespace tessaly
