#pragma once
// The live output's Pace: the form clock follows the frames the mixer renders, so
// the form's timers keep the sound card's own time, and each sound operation is
// stamped with the output frame its form time maps to, a fixed scheduling latency
// later. The latency (40 ms) covers the block the mixer may have rendered ahead of
// the frame clock (one callback, 5.3 ms) and a UI thread that wakes up to 35 ms late
// on a loaded machine; an operation later than that still plays, at once, and is
// counted. The device's own buffer adds to what the listener hears, not to spacing.
//
// UI thread only (the frame clock it reads is published by the rendering thread).
#include "engine/frame_clock.h"
#include "sound/pace.h"

#include <functional>

namespace tessaly {

class FramePace final : public Pace {
public:
    static constexpr int kSchedulingLatencyMs = 40;

    // formNowMs: the form clock, read when an operation is stamped.
    FramePace(const FrameClock& clock, int sampleRate, std::function<std::int64_t()> formNowMs);

    std::int64_t nowMs() override;
    Clock::time_point when(std::int64_t ms) override;
    void anchor(std::int64_t ms) override;

    // The output frame an operation issued now takes effect on.
    std::int64_t stampNow() const { return origin_ + frameAtMs(formNowMs_(), rate_) + latencyFrames_; }

private:
    // The frame being rendered at `t`, from the latest reading.
    double frameAt(Clock::time_point t) const;

    const FrameClock& clock_;
    const int rate_;
    const std::int64_t latencyFrames_;
    std::function<std::int64_t()> formNowMs_;
    std::int64_t origin_ = 0;  // the output frame of form time 0
    std::int64_t last_ = 0;    // the latest answer of nowMs()
    const Clock::time_point created_;
};

}  // namespace tessaly
