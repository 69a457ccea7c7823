#pragma once
// The analytic signal of a real signal: the input, delayed by half the filter's length,
// as the real part and its Hilbert transform as the imaginary part. The transform is a
// linear-phase FIR of odd length (Kaiser-windowed 2/(pi k)), so the two parts are
// exactly 90 degrees apart at every frequency; its magnitude is within 2 % of 1 from
// kAccurateFromHz up to half the rate less that, which leaves the negative-frequency
// image at least 40 dB down there (27 dB at 100 Hz, 11 dB at 50 Hz).
#include <vector>

namespace tessaly {

class HilbertTransformer {
public:
    static constexpr int kMaxFrames = 256;       // frames per process() call at most
    static constexpr double kAccurateFromHz = 120;

    // Allocates everything; process() never does.
    explicit HilbertTransformer(int sampleRate);

    // Frames by which both parts lag the input (the filter's half length).
    int delay() const { return half_; }
    // Forgets the past input (silence before the next sample).
    void reset();
    // re[i] + j im[i] is the analytic signal of in[i - delay()]; frames <= kMaxFrames.
    void process(const float* in, float* re, float* im, int frames);

private:
    int half_;                    // M: the filter spans 2M + 1 taps
    std::vector<float> odd_;      // odd_[j]: the tap at offset 2j + 1 after the centre (minus before it)
    std::vector<float> history_;  // the last 2M inputs, then room for a block
};

}  // namespace tessaly
