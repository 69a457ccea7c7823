#pragma once
// One station of a pile-up: it calls its callsign (once, or twice as many operators
// do), one character a tick at the reader's pace, on a bus of its own (so that it
// fades over a path of its own), at its own level, in its own speaker's voice. Every
// caller has the tone slider's boost and the reader's rate: the voices differ as
// their speakers do, and a caller's level is the level it is heard at. What it says and when is set by the pile-up; it only speaks.
#include "base/random_source.h"
#include "practice/timer.h"
#include "practice/window_controls.h"
#include "stations/station.h"

#include <string>

namespace tessaly {

// Who a caller is and how it sounds.
struct Caller {
    std::string callsign;   // as the practice text holds it ("BA4XY")
    std::string speaker;    // the speaker's name; "" for each word set's own voice
    int levelHundredths = 0;  // below the round's strongest caller, hundredths of a dB (0 .. -1500)
    int offsetMs = 0;         // after the call begins (0 .. 600, whole tens)
    bool twice = false;       // it gives its callsign twice in a call
};

class CallerStation {
public:
    // `index` picks its bus (Caller1 + index) and its timer.
    CallerStation(int index, WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random);

    // Begins a call of `caller`'s: its first clip `caller.offsetMs` from now, the next
    // ones every `intervalMs`, each at `fadeLevel` (the band's QSB) below its level.
    // How long the call lasts, ms, from now to its last clip's start plus one interval.
    // The digits are said as `figures` says.
    int call(const Caller& caller, bool figures, int intervalMs, int fadeLevel);
    // The call is cut off (the listener transmits): silent at once.
    void stop();
    // The window closes: the clip and the device let go.
    void release();
    bool calling() const { return timer_.enabled(); }
    Bus bus() const { return station_.bus(); }
    const Timer& timer() const { return timer_; }

private:
    void tick();

    WindowControls& controls_;
    RandomSource& random_;
    Station station_;
    Timer timer_;
    Caller caller_;
    std::string text_;  // what this call says: the callsign, a pause and, if twice, again
    std::size_t at_ = 0;
    int intervalMs_ = 1100;
    int fadeLevel_ = 0;
    bool figures_ = false;
};

}  // namespace tessaly
