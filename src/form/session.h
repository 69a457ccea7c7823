#pragma once
// The main window's logic as one session: the window's controls, and the parts that
// own the practice's state (the practice, the callsign sources, the reading station,
// the interfering station, the band, the threshold run, the review and the learning
// record, the replay). For each event of the window (load, Start, a tick of the
// reader or of the supervisory timer, an answer, Stop, marking, close) the session
// calls the parts in a fixed order, written once here. A part's own events (a
// condition box, a timer of its own) go straight to it. Every host (window, headless
// runner, tests) drives the same object.
#include "band/band.h"
#include "pileup/pileup.h"
#include "practice/practice.h"
#include "practice/window_controls.h"
#include "review/learning_keeper.h"
#include "review/practice_review.h"
#include "review/replay.h"
#include "review/threshold_run.h"
#include "sources/callsign_sources.h"
#include "stations/interferer.h"
#include "stations/practice_reader.h"

#include <vector>

namespace tessaly {

class Session {
public:
    Session(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // ---- the window's events
    void Form_Load();
    void Form_Unload();
    void Command1_Click();  // the hidden generator
    void Command4_Click();  // Start
    void Command5_Click();  // Stop
    void Text6_KeyPress(int& KeyAscii);
    void Timer2_Timer();   // the reader's tick
    void Timer11_Timer();  // the supervisory timer
    void Check3_Click();
    void mquit_Click() { host_.quitNow(); }
    void mabout_Click() { host_.showAbout(); }

    // ---- the additions, as the 学习 menu sets them (already checked)
    void setSnr(std::optional<double> snrDb) { band_.setSnr(snrDb, practice_.practising(), reader_.steadyVoice()); }
    void setSpeaker(const std::string& choice) { reader_.setSpeaker(choice); }
    void setFigures(bool on) { reader_.setFigures(on); }
    void setPath(const std::string& preset) { band_.setPath(preset, practice_.practising()); }
    void setReceiver(bool passband, const std::string& agc) { band_.setReceiver(passband, agc); }
    void armThreshold(bool on) { threshold_.arm(on); }
    void setPileup(int stations) { pileup_.setStations(stations); }
    void setPileupStream(bool on) { pileup_.setStream(on); }
    // Learning from a marked practice.
    bool replay(int row) { return replay_.replay(row); }
    bool canReplay(int row) const { return replay_.canReplay(row); }
    PracticeReview& review() { return review_; }

    // ---- what everyone reads
    WindowControls& controls() { return controls_; }
    const WindowControls& controls() const { return controls_; }
    const Practice& practice() const { return practice_; }
    const PracticeReader& reader() const { return reader_; }
    const Interferer& interferer() const { return interferer_; }
    const Band& band() const { return band_; }
    const ThresholdRun& threshold() const { return threshold_; }
    const Pileup& pileup() const { return pileup_; }
    const PracticeReview& review() const { return review_; }
    // Grouped reading: the reading mode, or a threshold run, which reads grouped.
    bool groupedReading() const;
    // Timer1 .. Timer12, in order; one of them by name (null for none).
    std::vector<const Timer*> timers() const;
    const Timer* timer(const std::string& name) const;
    FormHost& host() { return host_; }

private:
    // Reading has reached the end of the practice text.
    void endOfReading();
    // Start's steps for a pile-up, in place of the reader's.
    void startPileup();
    // The pile-up's timer: its next step; when it is over, the practice ends, marked.
    void PileupTimer_Timer();
    // The reader, the band and (when asked) the interfering station fall silent and
    // every timer of theirs stops: Stop and the end of reading.
    void silence(bool interfererToo);
    // Every row marked; the first marking of a practice ends its threshold run and
    // goes to the review.
    void mark();
    // The reading is over and the last answer is in: the list is marked.
    void markAfterLastAnswer();
    // A threshold run takes an answer for the callsign being read, and only for it: it
    // goes on without waiting once its callsign's answer is in.
    bool answeredAhead() const;
    // With the learning record on, the learner's last threshold under this practice's
    // conditions: a run starts above it.
    std::optional<double> lastThreshold() const;

    TimerClock& clock_;
    FormHost& host_;
    WindowControls controls_;
    Practice practice_;
    CallsignSources sources_;
    PracticeReader reader_;
    Interferer interferer_;
    Band band_;
    ThresholdRun threshold_;
    LearningKeeper keeper_;
    PracticeReview review_;
    Replay replay_;
    Pileup pileup_;
    // Timer1 ticks at 200 ms from load with no handler: it is left unattached, so it
    // shows its settings but never costs a wake-up.
    Timer Timer1{"Timer1", 1};
    Timer Timer11{"Timer11", 11};  // supervisory, 10 ms
};

}  // namespace tessaly
