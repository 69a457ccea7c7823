#pragma once
// One station's ionospheric path at the output rate: the analytic signal of the
// station's sound reaches the listener twice, once directly and once delayed by the
// preset's differential delay, each time multiplied by its own fading gain (half the
// mean power each); the listener hears the real part of the sum. The delay notches the
// spectrum every 1 / delay; the gains fade each path with the preset's Doppler spread.
//
// Everything runs on the rendering thread: setPreset and reseed neither allocate nor
// lock, and process never allocates, locks or waits.
#include "engine/doppler_gain.h"
#include "engine/hilbert_transformer.h"
#include "sound/path_presets.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessaly {

class FadingPath {
public:
    // Allocates for the longest delay of any preset. The path starts "off".
    explicit FadingPath(int sampleRate);
    FadingPath(const FadingPath&) = delete;
    FadingPath& operator=(const FadingPath&) = delete;

    // Takes the preset's delay (rounded to whole frames, at most the longest preset's)
    // and spread. The gains go on from where they were; coming out of "off" the path
    // starts from silence.
    void setPreset(const PathPreset& preset);
    // The two gains start afresh from this seed: the same seed, the same fading.
    void reseed(std::uint64_t seed);
    // False for "off": the caller then leaves the sound alone (process() does too).
    bool active() const { return active_; }
    // In place, mono. Adds the Hilbert filter's delay (latencyFrames()) to the sound.
    void process(float* samples, int frames);

    int latencyFrames() const { return hilbert_.delay(); }
    int delayFrames() const { return delay_; }

private:
    static constexpr int kBlock = HilbertTransformer::kMaxFrames;

    void processBlock(float* samples, int frames);

    const int rate_;
    const int maxDelay_;  // frames
    int delay_ = 0;       // frames
    bool active_ = false;
    HilbertTransformer hilbert_;
    DopplerGain direct_, delayed_;
    // The analytic signal's last maxDelay_ frames, then room for a block.
    std::vector<float> pastRe_, pastIm_;
    std::array<float, kBlock> gainRe_{}, gainIm_{}, gain2Re_{}, gain2Im_{};
    // Frames of silence in a row at the input. Once the filter and the delay line hold
    // nothing but silence, a silent block comes out silent whatever the gains: only the
    // gains are stepped on (a pile-up's station between its calls).
    long quietFrames_ = 0;
};

}  // namespace tessaly
