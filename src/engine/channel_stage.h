#pragma once
// The channel between the stations and the listener's ear, on the rendering thread:
// each station's voices over their own path, the band noise at the level the
// practice asks beyond its buffer's volume, then the receiver. Its parameters change
// through the mixer's frame-stamped commands and glide, so nothing clicks.
//
// With nothing set the stage is not there at all: every voice sums straight into
// the mix, sample for sample as without it. A bus is mixed apart only while
// something acts on it.
#include "engine/channel_change.h"
#include "engine/fading_path.h"
#include "engine/receiver.h"

#include <array>
#include <memory>
#include <vector>

namespace tessaly {

class ChannelStage {
public:
    // Allocates all it will ever need (the paths' delay lines, the filters).
    explicit ChannelStage(int sampleRate);
    ChannelStage(const ChannelStage&) = delete;
    ChannelStage& operator=(const ChannelStage&) = delete;

    // All on the rendering thread; none of them allocates, locks or waits.
    void apply(const ChannelChange& change);
    bool separate(Bus bus) const { return separate_[static_cast<std::size_t>(bus)]; }
    bool receiverOn() const { return receiver_.active(); }
    // In place, on a bus mixed apart: a station's path, or the band noise's level.
    void processBus(Bus bus, float* samples, int frames);
    // In place, on the whole mix.
    void processReceiver(float* mix, int frames);

private:
    void updateSeparate();
    FadingPath* pathOf(Bus bus);

    const int rampFrames_;  // parameter glides last about 20 ms
    // The band noise's gain beyond its buffer's volume (linear), gliding to its target.
    float noiseGain_ = 1.0f;
    float noiseTarget_ = 1.0f;
    float noiseStep_ = 0.0f;
    int noiseRampLeft_ = 0;
    // Each station's ionospheric path (off until set; by stationIndex), and the
    // listener's receiver.
    std::vector<std::unique_ptr<FadingPath>> paths_;
    Receiver receiver_;
    std::array<bool, kBusCount> separate_{};
};

}  // namespace tessaly
