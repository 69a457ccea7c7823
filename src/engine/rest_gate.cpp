#include "engine/rest_gate.h"

#include <cmath>

namespace tessaly {

bool RestGate::quietLongEnough(Mixer& mixer, std::int64_t frames) {
    quietFrames_ = mixer.quiet() ? quietFrames_ + frames : 0;
    return quietFrames_ >= restAfter_;
}

bool RestGate::enter(Mixer& mixer) {
    quietFrames_ = 0;
    resting_.store(1);
    // Either this sees the command just queued, or commandQueued() sees the rest.
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (mixer.quiet()) return true;
    release();
    return false;
}

void RestGate::waitWhileResting() const { resting_.wait(1); }

void RestGate::catchUp(Mixer& mixer, const FrameClock& clock, std::chrono::steady_clock::time_point now) {
    const auto reading = clock.latest();
    if (!reading) return;
    const double seconds = std::chrono::duration<double>(now - reading->at).count();
    const auto target = reading->frame + static_cast<std::int64_t>(std::llround(seconds * mixer.outputRate()));
    mixer.skip(target - mixer.framesRendered());
}

void RestGate::commandQueued() {
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (resting_.load(std::memory_order_relaxed)) release();
}

void RestGate::release() {
    if (resting_.exchange(0) != 0) resting_.notify_all();
}

}  // namespace tessaly
