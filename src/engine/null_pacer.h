#pragma once
// The null output: renders the mixer into nothing, on a thread of its own, at the pace
// of the steady clock. While no device plays, clips still end on time and loops still
// move on, so the practice keeps its timing and a device can take over at any point.
#include "engine/frame_clock.h"
#include "engine/mixer.h"
#include "engine/rest_gate.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tessaly {

class NullPacer {
public:
    using Clock = std::chrono::steady_clock;

    // Publishes each render on `frames`, as the device's callback does; rests at the
    // gate while nothing sounds.
    NullPacer(Mixer& mixer, FrameClock& frames, RestGate& gate) : mixer_(mixer), frames_(frames), gate_(gate) {}
    ~NullPacer() { stop(); }
    NullPacer(const NullPacer&) = delete;
    NullPacer& operator=(const NullPacer&) = delete;

    // Starts rendering the mixer's time from `from` on: what is due since then is
    // rendered at once (the time a failing device did not render is made up). Does
    // nothing while running.
    void start(Clock::time_point from);
    // Ends the thread and joins it, so its last render happens before stop() returns.
    // Returns the moment rendered up to, for a later start() to go on from; now when
    // it was not running.
    Clock::time_point stop();
    bool running() const { return thread_.joinable(); }

private:
    void run(Clock::time_point from);

    Mixer& mixer_;
    FrameClock& frames_;
    RestGate& gate_;
    std::thread thread_;
    std::mutex mutex_;  // guards stop_ and reached_
    std::condition_variable wake_;
    bool stop_ = false;
    Clock::time_point reached_;
};

}  // namespace tessaly
