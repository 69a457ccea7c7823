#pragma once
// What the listener's SSB receiver does to everything it hears (the stations, the band
// noise, the static): its audio passband, then its AGC. With both off the receiver is
// not there: active() is false and the caller leaves the sound alone. While active it
// delays the sound by the AGC's look-ahead (5 ms), whether the AGC is on or not, so
// that switching the AGC does not shift the sound.
//
// Everything runs on the rendering thread: the setters neither allocate nor lock, and
// process never allocates, locks or waits.
#include "engine/agc.h"
#include "engine/ssb_passband.h"

namespace tessaly {

class Receiver {
public:
    explicit Receiver(int sampleRate);
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    // The SSB audio passband, 300 to 2700 Hz.
    void setPassband(bool on);
    void setAgc(AgcSpeed speed);
    bool active() const { return passbandOn_ || agc_.speed() != AgcSpeed::Off; }
    // In place, mono; nothing when inactive.
    void process(float* samples, int frames);
    // The AGC's gain now, dB (0 when it is off).
    float gainDb() const { return agc_.gainDb(); }
    int latencyFrames() const { return agc_.latencyFrames(); }

private:
    void activating(bool wasActive);

    SsbPassband passband_;
    Agc agc_;
    bool passbandOn_ = false;
};

}  // namespace tessaly
