#pragma once
// A receiver's automatic gain control, on everything the receiver hears. It follows the
// peak envelope: a louder peak is taken at once and the gain comes down to it in about
// 2 ms; when the sound falls, the gain holds for the hang time and then rises at a steady
// rate in dB (the envelope decaying with the decay time constant), up to kMaxGainDb. So
// a deep fade or a pause in the voice brings the noise up, as on a real receiver.
//
// The sound is delayed by a 5 ms look-ahead, so that the gain is already down when a
// sudden loud sound reaches the output: what comes out stays within 1 or 2 dB of the
// reference after any step, and never exceeds the ceiling. Levels are in the mix's
// own scale, before the output headroom (kOutputHeadroomDb) the mixer applies after it.
#include <vector>

namespace tessaly {

enum class AgcSpeed { Off, Fast, Medium, Slow };

class Agc {
public:
    static constexpr double kAttackMs = 2;      // time constant of the gain coming down, in dB
    static constexpr double kLookAheadMs = 5;
    static constexpr double kMaxGainDb = 20;    // the most a faded or absent signal is raised
    // The envelope's peak is brought to this level at the program's output, dBFS (after
    // the headroom), about where the reader's voice peaks there without the AGC.
    static constexpr double kReferenceOutputDb = -6;
    // Nothing leaves the AGC above this, dBFS at the output: far from clipping.
    static constexpr double kCeilingOutputDb = -2;

    // Hold and decay time constant, ms: fast 50 + 50, medium 125 + 125, slow 250 + 250.
    static double hangMs(AgcSpeed speed);
    static double decayMs(AgcSpeed speed);

    // Allocates the look-ahead; process() never allocates.
    explicit Agc(int sampleRate);

    // Off leaves the gain at 0 dB (the sound is still delayed by the look-ahead).
    // Turning it on starts from 0 dB.
    void setSpeed(AgcSpeed speed);
    AgcSpeed speed() const { return speed_; }
    // Silence in the look-ahead, gain 0 dB.
    void reset();
    // In place; any number of frames.
    void process(float* samples, int frames);
    // The gain being applied now, dB (0 when off).
    float gainDb() const;
    int latencyFrames() const { return lookAhead_; }

    // The reference and the ceiling as amplitudes in the mix, before the headroom.
    static double referenceAmplitude();
    static double ceilingAmplitude();

private:
    void restart();

    const int rate_;
    const int lookAhead_;  // frames
    const double attack_;  // share of the remaining dB covered per frame
    const double reference_, ceiling_, floor_;
    AgcSpeed speed_ = AgcSpeed::Off;
    int hangFrames_ = 0;
    double decay_ = 1;  // envelope factor per frame while decaying
    double envelope_ = 0;
    double gain_ = 1;
    int hangLeft_ = 0;
    bool holding_ = true;
    std::vector<float> delayLine_;
    int next_ = 0;
};

}  // namespace tessaly
