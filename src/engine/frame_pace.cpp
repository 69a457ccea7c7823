#include "engine/frame_pace.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

FramePace::FramePace(const FrameClock& clock, int sampleRate, std::function<std::int64_t()> formNowMs)
    : clock_(clock), rate_(sampleRate), latencyFrames_(frameAtMs(kSchedulingLatencyMs, sampleRate)),
      formNowMs_(std::move(formNowMs)), created_(Clock::now()) {
    anchor(formNowMs_());
}

double FramePace::frameAt(Clock::time_point t) const {
    // Before the first render (an output still opening), as if frame 0 had been
    // rendered when the pace was made: the form clock never waits on a sound that
    // does not come, and when it comes it stands still until the frames catch up.
    const auto reading = clock_.latest();
    const auto at = reading ? reading->at : created_;
    const double seconds = std::chrono::duration<double>(t - at).count();
    return static_cast<double>(reading ? reading->frame : 0) + seconds * rate_;
}

std::int64_t FramePace::nowMs() {
    const double frame = frameAt(Clock::now());
    const auto ms = static_cast<std::int64_t>(std::floor((frame - static_cast<double>(origin_)) * 1000.0 / rate_));
    last_ = std::max(last_, ms);
    return last_;
}

Pace::Clock::time_point FramePace::when(std::int64_t ms) {
    const auto reading = clock_.latest();
    const auto at = reading ? reading->at : created_;
    const double frames = static_cast<double>(origin_ + frameAtMs(ms, rate_) - (reading ? reading->frame : 0));
    return at + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(frames / rate_));
}

void FramePace::anchor(std::int64_t ms) {
    origin_ = static_cast<std::int64_t>(std::llround(frameAt(Clock::now()))) - frameAtMs(ms, rate_);
    last_ = ms;
}

}  // namespace tessaly
