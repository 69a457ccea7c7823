#pragma once
// The station that reads the practice: one character of the practice text each tick
// of Timer2, at the speed slider's pace (or the random speed's, Timer8), in the
// chosen word set, with the tone slider's boost (or a random tone sweep's, Timer9
// and Timer10). In grouped reading it halts at the end of each callsign until an
// answer sets it going again.
#include "practice/excursion.h"
#include "practice/form_host.h"
#include "practice/timer.h"
#include "practice/window_controls.h"
#include "sound/clip_catalogue.h"
#include "stations/station.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessaly {

// Tone sweeps start and end with the boost centred here, in Hz.
constexpr int kSweepTopHz = 800;

class PracticeReader {
public:
    // `tick` runs on every tick of the reader's timer: the session, which has each part
    // take its step of a character in turn.
    PracticeReader(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random, FormHost& host,
                   std::function<void()> tick);

    // What the reader came to on a tick: the character at its new position.
    struct Step {
        std::string character;        // "" past the end
        bool beginsCallsign = false;  // the first character of a line
    };

    // ---- the reading
    void rewind() { readPos_ = 0; }
    // Start: the pace from the speed slider, and the reader on.
    void startReading();
    // Moves on one character of `text`.
    Step next(const std::string& text);
    // Says the step's character at `volume`: the clip's name from the catalogue; in
    // grouped reading the end of a callsign halts the reader instead. True when a
    // character's clip (not the pause) was started.
    bool speak(const Step& step, bool grouped, int volume);
    // The reader has passed the last callsign of `text`.
    bool atEnd(const std::string& text, std::int32_t textLength) const {
        return !text.empty() && readPos_ >= textLength - 1;
    }
    // An answer came while the reader waits at the end of a callsign: it goes on.
    void resumeAfterAnswer();
    bool reading() const { return Timer2.enabled(); }
    bool waitingForAnswer() const { return waitingForAnswer_; }

    // ---- the voice: a speaker ("default", "varied": one drawn for each callsign, or a
    // speaker's name) and the digits (the set's own, or the figure code words)
    void setSpeaker(const std::string& choice) { speakerChoice_ = choice; }
    void setFigures(bool on) { figures_ = on; }
    const std::string& speakerChoice() const { return speakerChoice_; }
    bool figures() const { return figures_; }
    // A callsign begins: its speaker ("" for each set's own), drawn when varied.
    const std::string& beginCallsign();
    // The voice the reader speaks in now, and the one the band's SNR is reckoned in
    // (the chosen speaker; each set's own when varied: the speakers are levelled alike).
    Speech voice() const { return {controls_.words(), figures_, speaker_}; }
    Speech steadyVoice() const { return {controls_.words(), figures_, fixedSpeaker()}; }

    // ---- the ticked variations at Start, and what stops them
    void startVariations();
    void stopClip() { station_.stop(); }
    void stopTimers();
    // The clip now sounding at full volume, as the supervisory timer keeps it unless fading.
    void fullVolume() { station_.setVolume(0); }
    // The supervisory timer: the slider's pace again, unless waiting or varied.
    void keepPace();
    // The window closes: the clip stops if it still plays (its buffer goes last).
    void stopBeforeRelease() { station_.stopIfPlaying(); }
    void release() { station_.release(); }

    // ---- the controls' and timers' events
    void Slider1_Change(bool practising);
    void Slider2_Change(bool practising);
    void Check5_Click();
    void Check6_Click(bool practising);
    void Timer8_Timer();
    void Timer9_Timer() { toneSweep_.schedulerTick(); }
    void Timer10_Timer();

    // ---- what the others read
    int readPos() const { return readPos_; }
    const std::string& clipName() const { return clipName_; }
    const std::string& speaker() const { return speaker_; }
    std::int16_t toneCentre() const { return toneSweep_.value(); }
    std::vector<const Timer*> timers() const { return {&Timer2, &Timer8, &Timer9, &Timer10}; }

private:
    void restartInterval();
    std::string fixedSpeaker() const { return speakerChoice_ == "default" || speakerChoice_ == "varied" ? "" : speakerChoice_; }
    void setTone();  // the tone slider's boost on the clip now sounding

    WindowControls& controls_;
    RandomSource& random_;
    FormHost& host_;
    Station station_;
    Timer Timer2{"Timer2", 2};    // the reader
    Timer Timer8{"Timer8", 8};    // random speed, 2000 ms
    Timer Timer9{"Timer9", 9};    // random tone: the sweep's scheduler
    Timer Timer10{"Timer10", 10};  // and its ramp
    Excursion<std::int16_t, std::int16_t> toneSweep_;
    int readPos_ = 0;
    bool waitingForAnswer_ = false;
    std::string clipName_;
    std::string speakerChoice_ = "default";
    bool figures_ = false;
    std::string speaker_;  // of the callsign being read
};

}  // namespace tessaly
