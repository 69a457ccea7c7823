#include "engine/frame_pace.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

FramePace::FramePace(const FrameClock& clock, int sampleRate, std::function<std::int64_t()> formNowMs)
    : clock_(clock), rate_(sampleRate), latencyFrames_(frameAtMs(kSchedulingLatencyMs, sampleRate)),
      formNowMs_(std::move(formNowMs)) {
    anchor(formNowMs_());
}

std::optional<double> FramePace::frameAt(Clock::time_point t) const {
    const auto reading = clock_.latest();
    if (!reading) return std::nullopt;
    const double seconds = std::chrono::duration<double>(t - reading->at).count();
    return static_cast<double>(reading->frame) + seconds * rate_;
}

std::int64_t FramePace::nowMs() {
    const auto frame = frameAt(Clock::now());
    if (!frame) return last_;  // nothing renders yet: the form clock waits for the sound
    const auto ms = static_cast<std::int64_t>(std::floor((*frame - static_cast<double>(origin_)) * 1000.0 / rate_));
    last_ = std::max(last_, ms);
    return last_;
}

Pace::Clock::time_point FramePace::when(std::int64_t ms) {
    const auto now = Clock::now();
    const auto reading = clock_.latest();
    // Nothing renders yet: look again soon.
    if (!reading) return now + std::chrono::milliseconds(5);
    const double frames = static_cast<double>(origin_ + frameAtMs(ms, rate_) - reading->frame);
    return reading->at + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(frames / rate_));
}

void FramePace::anchor(std::int64_t ms) {
    const auto frame = frameAt(Clock::now());
    // Before the first render the mixer stands at frame 0.
    origin_ = (frame ? static_cast<std::int64_t>(std::llround(*frame)) : 0) - frameAtMs(ms, rate_);
    last_ = ms;
}

}  // namespace tessaly
