#include "engine/frame_clock.h"

namespace tessaly {

std::int64_t frameAtMs(std::int64_t ms, int sampleRate) {
    const std::int64_t scaled = ms * sampleRate;
    // Floor division, so that times before zero round the same way as after it.
    const std::int64_t q = scaled / 1000, r = scaled % 1000;
    const std::int64_t floor = (r < 0) ? q - 1 : q;
    const std::int64_t rest = scaled - floor * 1000;  // 0..999
    return floor + (rest >= 500 ? 1 : 0);
}


void FrameClock::publish(std::int64_t frame, Clock::time_point at) {
    const std::uint64_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    // A reader whose acquire fence follows a load that saw a new field value also
    // sees the odd count, and so retries.
    std::atomic_thread_fence(std::memory_order_release);
    frame_.store(frame, std::memory_order_relaxed);
    atNs_.store(std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count(),
                std::memory_order_relaxed);
    // Release: a reader that acquires the even count sees both fields written.
    sequence_.store(s + 2, std::memory_order_release);
}

std::optional<FrameClock::Reading> FrameClock::latest() const {
    for (;;) {
        // Acquire pairs with the writer's final release store.
        const std::uint64_t before = sequence_.load(std::memory_order_acquire);
        if (before == 0) return std::nullopt;
        if (before & 1) continue;  // a publish is under way
        const std::int64_t frame = frame_.load(std::memory_order_relaxed);
        const std::int64_t ns = atNs_.load(std::memory_order_relaxed);
        // The fields' loads must complete before the count is read again.
        std::atomic_thread_fence(std::memory_order_acquire);
        if (sequence_.load(std::memory_order_relaxed) == before)
            return Reading{frame, Clock::time_point(std::chrono::nanoseconds(ns))};
    }
}

}  // namespace tessaly
