#pragma once
// An output at rest: when nothing has sounded for a while, no thread renders the mixer
// and the device's stream stops, so an idle window costs no CPU. The next command
// wakes it; the renderer then moves the mixer on to the frame the frame clock has
// reached meanwhile (the clock goes on from its last reading at the output rate), so
// commands stamped while it rested still land on their frames.
//
// The UI thread only ever stores and notifies (never waits); the rendering side
// waits on one atomic word.
#include "engine/frame_clock.h"
#include "engine/mixer.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace tessaly {

class RestGate {
public:
    // restAfterFrames: quiet frames in a row before the renderer may rest.
    explicit RestGate(std::int64_t restAfterFrames) : restAfter_(restAfterFrames) {}

    // --- rendering thread ---
    // After rendering `frames`: true once the mixer has been quiet that long.
    bool quietLongEnough(Mixer& mixer, std::int64_t frames);
    // Rests when nothing renders now. False when a command came in the meantime (go on
    // rendering). Call with no thread rendering the mixer.
    bool enter(Mixer& mixer);
    // Waits until woken (a command, or release()).
    void waitWhileResting() const;
    bool resting() const { return resting_.load() != 0; }
    // Moves the mixer on to the frame the frame clock has reached at `now`.
    static void catchUp(Mixer& mixer, const FrameClock& clock, std::chrono::steady_clock::time_point now);

    // --- UI thread, after queueing a command: never waits ---
    void commandQueued();

    // --- any thread: wakes whoever waits (e.g. to stop) ---
    void release();

private:
    const std::int64_t restAfter_;
    std::int64_t quietFrames_ = 0;  // rendering thread only
    std::atomic<std::uint32_t> resting_{0};  // a word the size of a futex: waits without a lock
};

}  // namespace tessaly
