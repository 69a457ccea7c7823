#pragma once
// The live output's frame clock: which output frame the mixer is rendering at which
// moment of the steady clock. Whichever thread renders (the device's callback or the
// null output's thread) publishes before each render; the UI thread reads it to
// map the form clock onto output frames. Neither side ever waits for the other.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace tessaly {

// The frame that form time `ms` falls on: round(ms x rate / 1000), halves up.
std::int64_t frameAtMs(std::int64_t ms, int sampleRate);

class FrameClock {
public:
    using Clock = std::chrono::steady_clock;
    struct Reading {
        std::int64_t frame;     // the first frame of the render that began at `at`
        Clock::time_point at;
    };

    // The rendering thread, before rendering `frame` onwards. Never blocks.
    void publish(std::int64_t frame, Clock::time_point at);
    // Any thread: the latest reading, or nullopt before the first. Never blocks; may
    // retry while a publish is half done (a few nanoseconds, every few ms at most).
    std::optional<Reading> latest() const;

private:
    // A sequence lock for one writer. The writer makes the count odd, stores the two
    // fields, then makes it even again; a reader that saw the same even count before
    // and after reading the fields read a consistent pair. The fields are atomics
    // themselves (relaxed), so a torn read is a retry, never undefined behaviour.
    std::atomic<std::uint64_t> sequence_{0};
    std::atomic<std::int64_t> frame_{0};
    std::atomic<std::int64_t> atNs_{0};
};

}  // namespace tessaly
