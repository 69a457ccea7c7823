#pragma once
// What the practice logic asks of whoever hosts it: the Qt window, the headless
// script runner, or a test.
#include "practice/practice_event.h"

#include <chrono>
#include <string>

namespace tessaly {

// A threshold run's result, as a host shows it.
struct ThresholdFound {
    double snrDb = 0, se = 0;  // the SNR at which half the characters are copied, and its ±, dB
    double wholeSnrDb = 0;     // the SNR at which half the whole callsigns are, dB
    double slope = 0;          // how fast character copy rises there, per dB (0.1: 10 % a dB)
    int trials = 0;            // the callsigns of the run
    std::string method;        // how it was found: "characters"
};

class FormHost {
public:
    virtual ~FormHost() = default;
    // A modal message with an information icon and an OK button; returns once answered.
    virtual void messageBox(const std::string& title, const std::string& text) = 0;
    // A modal question with 是 and 否 (否 the default); true when the answer is yes.
    virtual bool askYesNo(const std::string& /*title*/, const std::string& /*text*/) { return false; }
    // The reader started a clip (name, volume in hundredths of a dB, playback rate).
    virtual void clipStarted(const std::string& /*name*/, int /*volume*/, int /*frequency*/) {}
    // A threshold run begins callsign `trial` (from 1), read at `snrDb`.
    virtual void trialBegins(int /*trial*/, double /*snrDb*/) {}
    // A threshold run was marked with every answer given: what it found.
    virtual void thresholdFound(const ThresholdFound& /*found*/) {}
    // Something a practice reports as it happens (a pile-up's rounds, calls and contacts).
    virtual void practiceEvent(const PracticeEvent& /*event*/) {}
    // Keyboard focus to the named control.
    virtual void focusControl(const std::string& /*name*/) {}
    // Menu "退出(&Q)": end the program at once, without the unload step.
    virtual void quitNow() {}
    // Menu "关于(&A)": show the About box (one instance, modeless).
    virtual void showAbout() {}
    // The date and time a practice is kept with.
    virtual std::chrono::system_clock::time_point now() const { return std::chrono::system_clock::now(); }
};

}  // namespace tessaly
