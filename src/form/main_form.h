#pragma once
// The main window's logic: its state (controls, timers, practice state) and the
// handlers of each subsystem, as parts that the form owns. Building the form
// wires every control's event hooks and every timer to its handler once; every
// host (window, headless runner, tests) then drives the same object.
#include "channel/channel_conditions.h"
#include "practice/form_state.h"
#include "practice/practice_control.h"
#include "review/learning_keeper.h"
#include "review/practice_review.h"
#include "sources/callsign_sources.h"
#include "speech/speech_output.h"

namespace tessaly {

class MainForm final : public FormState {
public:
    MainForm(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host);

    PracticeControl practice;
    CallsignSources sources;
    SpeechOutput speech;
    ChannelConditions channel;
    LearningKeeper learning;  // the learning record, while the learner has it on
    PracticeReview review;    // additions: replay, error analysis, drill, results files

    // The form's own events and the menu.
    void Form_Load();
    void Form_Unload();
    void mquit_Click();
    void mabout_Click();
};

}  // namespace tessaly
