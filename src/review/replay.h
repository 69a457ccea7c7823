#pragma once
// 重听: a marked row's callsign read once more, in a voice of its own (the reader's
// clip, tone and clip name are left alone), at the reader's pace, with the word set,
// speed and tone set now, and the level the reader's clips start at.
#include "band/band.h"
#include "practice/practice.h"
#include "stations/practice_reader.h"
#include "stations/station.h"

#include <string>

namespace tessaly {

class Replay {
public:
    // It speaks as the reader does, in the voice the row was read in.
    Replay(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random, FormHost& host,
           const Practice& practice, const Band& band, const PracticeReader& reader);

    // Whether row `row` (from 1) can be heard again: no practice runs, the list is
    // marked and the row has a callsign.
    bool canReplay(int row) const;
    // Reads it: the first character at once, the rest at the reader's pace. False
    // (nothing happens) when it cannot.
    bool replay(int row);
    // A practice starts: a replay still going ends.
    void stop() { timer_.setEnabled(false); }
    void ReplayTimer_Timer();

private:
    void speak(const std::string& clipName);

    WindowControls& controls_;
    RandomSource& random_;
    FormHost& host_;
    const Practice& practice_;
    const Band& band_;
    const PracticeReader& reader_;
    Station voice_;
    Timer timer_{"ReplayTimer", 13};
    std::string text_;
    std::string speaker_;  // of the row read again
    std::size_t at_ = 0;
};

}  // namespace tessaly
