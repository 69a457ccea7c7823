#pragma once
// The interfering station (QRM): one random letter or digit a second (Timer3), in the
// reader's word set, 12 dB down and 4.3 % higher, without the reader's tone boost.
#include "practice/timer.h"
#include "base/random_source.h"
#include "practice/window_controls.h"
#include "stations/practice_reader.h"
#include "stations/station.h"

#include <string>

namespace tessaly {

// The interfering station plays its clips 4.3 % faster than the reader.
constexpr int kInterfererFrequency = 23000;
// And 12 dB down, hundredths of a dB.
constexpr int kInterfererVolume = -1200;

class Interferer {
public:
    // It speaks in the reader's steady voice.
    Interferer(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random,
               const PracticeReader& reader);

    // The window's load step: the timer off, at its interval.
    void load();
    // Start, with QRM ticked; Stop and the end of reading stop it.
    void startIfTicked();
    void stopTimer() { Timer3.setEnabled(false); }
    void stopClip() { station_.stop(); }
    void release() { station_.release(); }

    void Check2_Click(bool practising);
    void Timer3_Timer();

    const std::string& clipName() const { return clipName_; }
    const Timer& timer() const { return Timer3; }

private:
    WindowControls& controls_;
    const PracticeReader& reader_;
    RandomSource& random_;
    Station station_;
    Timer Timer3{"Timer3", 3};
    std::string clipName_;
};

}  // namespace tessaly
