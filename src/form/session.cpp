#include "form/session.h"

#include "form/setting_controls.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

Session::Session(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host)
    : clock_(clock), host_(host), practice_(controls_, clock, host), sources_(random),
      reader_(controls_, platform, clock, random, host, [this] { Timer2_Timer(); }),
      interferer_(controls_, platform, clock, random, reader_), band_(controls_, platform, clock, random), keeper_(host),
      review_(host, keeper_), replay_(controls_, platform, clock, random, host, practice_, band_, reader_),
      pileup_(controls_, platform, clock, random, host, sources_, practice_, band_, reader_,
              [this] { PileupTimer_Timer(); }) {
    WindowControls& c = controls_;
    c.Command1.onClick = [this] { Command1_Click(); };
    c.Command4.onClick = [this] { Command4_Click(); };
    c.Command5.onClick = [this] { Command5_Click(); };
    c.Text6.onKeyPress = [this](int& key) { Text6_KeyPress(key); };
    c.mquit.onClick = [this] { mquit_Click(); };
    c.mabout.onClick = [this] { mabout_Click(); };
    const auto buttons = c.noiseButtons();
    for (int level = 0; level < 6; ++level)
        buttons[static_cast<std::size_t>(level)]->onClick = [this, level] { band_.levelChosen(level); };
    c.Check1.onClick = [this] { band_.Check1_Click(practice_.practising()); };
    c.Check2.onClick = [this] { interferer_.Check2_Click(practice_.practising()); };
    c.Check3.onClick = [this] { Check3_Click(); };
    c.Check4.onClick = [this] { band_.Check4_Click(practice_.practising()); };
    c.Check5.onClick = [this] { reader_.Check5_Click(); };
    c.Check6.onClick = [this] { reader_.Check6_Click(practice_.practising()); };
    c.Slider1.onChange = [this] { reader_.Slider1_Change(practice_.practising()); };
    c.Slider2.onChange = [this] { reader_.Slider2_Change(practice_.practising()); };
    c.Slider2.onScroll = [this] { reader_.Slider2_Change(practice_.practising()); };
    Timer11.attach(&clock, [this] { Timer11_Timer(); });
}

bool Session::groupedReading() const {
    return (controls_.Option8.value && !controls_.Option9.value) || threshold_.running();
}

std::vector<const Timer*> Session::timers() const {
    std::vector<const Timer*> all{&Timer1, &interferer_.timer(), &Timer11, &practice_.clockTimer()};
    for (const Timer* t : reader_.timers()) all.push_back(t);
    for (const Timer* t : band_.timers()) all.push_back(t);
    std::sort(all.begin(), all.end(), [](const Timer* a, const Timer* b) { return a->number() < b->number(); });
    return all;
}

const Timer* Session::timer(const std::string& name) const {
    for (const Timer* t : timers())
        if (t->name() == name) return t;
    return nullptr;
}

void Session::Form_Load() {
    // Sound set-up: a failing step is skipped and the load goes on.
    band_.load();
    interferer_.load();
    Timer1.setEnabled(true);
    Timer1.setInterval(200);
    Timer11.setEnabled(false);
    Timer11.setInterval(10);
    sources_.loadPrefixes();
    practice_.closeAnswerBox();
}

void Session::Form_Unload() {
    // The reader's clip stops first but goes last: its tone holds it until then.
    reader_.stopBeforeRelease();
    interferer_.release();
    band_.release();
    reader_.release();
}

void Session::Command1_Click() {
    const int count = threshold_.running() ? threshold_.trials() : controls_.groupsAsked();
    if (controls_.Option10.value)
        practice_.appendCallsigns(sources_.randomCallsigns(count, controls_.Option7[4].value, review_.drillUnits()));
    else if (controls_.Option11.value)
        practice_.appendCallsigns(sources_.libraryCallsigns(count));
}

std::optional<double> Session::lastThreshold() const {
    if (!review_.recording() || !threshold_.armed()) return std::nullopt;
    PracticeSettings settings = settingsOf(*this);
    return review_.keeper().digest().lastThreshold(thresholdConditions(settings, ThresholdRun::kMethod));
}

void Session::Command4_Click() {
    if (pileup_.stations() > 0) {
        startPileup();
        return;
    }
    pileup_.start(0);  // none: the last one's callers go
    practice_.clearForStart();
    reader_.rewind();
    if (threshold_.start(controls_.groupsAsked(), lastThreshold())) band_.beginTrials(threshold_.nextSnr());
    controls_.Command1.press();  // the generator
    practice_.beginRunning();
    reader_.startReading();
    band_.startNoise(reader_.steadyVoice());
    band_.startPaths();
    band_.startConditions();
    interferer_.startIfTicked();
    reader_.startVariations();
    practice_.startClock();
    Timer11.setEnabled(true);
    review_.started();
    replay_.stop();
}

void Session::startPileup() {
    practice_.clearForStart();
    reader_.rewind();
    reader_.stopTimers();  // the callers speak, not the reader
    practice_.beginRunning();
    band_.startNoise(reader_.steadyVoice());
    band_.startPaths(pileup_.stations());
    band_.startConditions();
    interferer_.startIfTicked();
    practice_.startClock();
    Timer11.setEnabled(true);
    review_.started();
    replay_.stop();
    if (!pileup_.start(controls_.groupsAsked())) PileupTimer_Timer();  // nothing to call: over at once
}

void Session::PileupTimer_Timer() {
    if (pileup_.step()) return;
    practice_.readingFinished();
    silence(/*interfererToo=*/true);
    markAfterLastAnswer();
}

void Session::Timer2_Timer() {
    const PracticeReader::Step step = reader_.next(practice_.text());
    if (step.beginsCallsign) {
        const int line = practice_.callsignsBegun() + 1;
        if (const auto snr = threshold_.callsignBegins(line)) {
            band_.setTrialSnr(*snr);
            host_.trialBegins(line, *snr);
        }
        const std::string& speaker = reader_.beginCallsign();
        band_.callsignBegins(reader_.steadyVoice());
        practice_.callsignBegins(clock_.nowMs(), band_.callsignSnr(), speaker);
    }
    if (reader_.speak(step, groupedReading(), band_.fadeLevel())) practice_.unitRead();
    if (reader_.waitingForAnswer() && threshold_.running() && answeredAhead()) reader_.resumeAfterAnswer();
    if (reader_.atEnd(practice_.text(), practice_.textLength())) {
        endOfReading();
        if (threshold_.running() && practice_.answerCount() >= practice_.groupCount()) markAfterLastAnswer();
    }
}

bool Session::answeredAhead() const {
    return practice_.answerCount() >= practice_.callsignsBegun();
}

void Session::endOfReading() {
    reader_.rewind();
    practice_.readingFinished();
    silence(/*interfererToo=*/true);
}

void Session::silence(bool interfererToo) {
    Timer11.setEnabled(false);
    reader_.stopClip();
    band_.stopLoops();
    // Stopped, the interfering station's clip is left to finish.
    if (interfererToo) interferer_.stopClip();
    reader_.stopTimers();
    interferer_.stopTimer();
    band_.stopTimers();
    pileup_.stop();
}

void Session::Timer11_Timer() {
    if (!practice_.practising()) return;
    band_.keepNoiseLevel();
    if (!band_.fading()) reader_.fullVolume();
    reader_.keepPace();
}

void Session::Check3_Click() {
    if (band_.Check3_Click(practice_.practising())) reader_.fullVolume();
}

void Session::Text6_KeyPress(int& KeyAscii) {
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 32;
    if (KeyAscii != 13) return;
    if (pileup_.running()) {
        pileup_.answer(practice_.answerBoxText());
        practice_.clearAnswerBox();
        return;
    }
    // In a threshold run an answer belongs to a callsign that has been read: one more
    // waits in the box for the next callsign.
    if (threshold_.running() && practice_.practising() && answeredAhead()) return;
    const Practice::Confirmed confirmed = practice_.confirmAnswer();
    if (confirmed == Practice::Confirmed::Stored) {
        const int row = practice_.answerCount();
        const CallsignRow& answered = practice_.rows()[static_cast<std::size_t>(row - 1)];
        if (const auto scored = threshold_.answered(row, answered.answer, answered.line)) {
            band_.setTrialSnr(scored->nextSnrDb);
            host_.practiceEvent({"answer", {{"n", static_cast<long long>(row)},
                                            {"snrDb", scored->trial.snrDb},
                                            {"charsRead", static_cast<long long>(scored->trial.read)},
                                            {"charsCopied", static_cast<long long>(scored->trial.copied)}}});
        }
        if (practice_.practising() && groupedReading()) reader_.resumeAfterAnswer();
    } else if (confirmed == Practice::Confirmed::PastTheLastRow) {
        // An answer past the last row ends the practice; it is not stored.
        Command5_Click();
        practice_.closeAnswerBox();
    }
    if (confirmed != Practice::Confirmed::Nothing && !practice_.practising()) markAfterLastAnswer();
    practice_.clearAnswerBox();
}

void Session::markAfterLastAnswer() {
    practice_.closeAnswerBox();
    mark();
    practice_.stopClock();
    practice_.dropPracticeText();
}

void Session::Command5_Click() {
    practice_.stopRunning();
    silence(/*interfererToo=*/false);
    practice_.closeAnswerBox();
    if (!practice_.text().empty()) {
        mark();
        reader_.rewind();
        practice_.resetAnswerCount();
    }
    practice_.stopClock();
}

void Session::mark() {
    practice_.markAll();
    if (!review_.awaitsMarking()) return;
    const bool thresholdRun = threshold_.running();
    const auto estimate = threshold_.finish();
    practice_.setSummaryAddition("");
    if (thresholdRun) {
        if (estimate) {
            practice_.setSummaryAddition(ThresholdRun::resultText(*estimate, band_.levelNear(estimate->snrDb, reader_.steadyVoice())));
            host_.thresholdFound({estimate->snrDb, estimate->se, estimate->wholeSnrDb, estimate->slope, estimate->trials,
                                  ThresholdRun::kMethod});
        } else {
            practice_.setSummaryAddition(ThresholdRun::kNotFound);
        }
        band_.endTrials();
        threshold_.arm(false);  // a threshold run is asked for each time
    }
    if (!pileup_.callers().empty()) {
        const double rate = pileup_.ratePerHour(clock_.nowMs());
        practice_.setSummaryAddition(Pileup::summaryText(pileup_.worked(), pileup_.busts(), rate));
        host_.practiceEvent({"pileupEnd", {{"worked", static_cast<long long>(pileup_.worked())},
                                           {"busts", static_cast<long long>(pileup_.busts())},
                                           {"ratePerHour", std::round(rate)}}});
    }
    PracticeSettings settings = settingsOf(*this);
    settings.threshold = thresholdRun;
    std::vector<PracticeRow> callers;
    for (const PileupCaller& c : pileup_.callers()) {
        if (callers.size() < static_cast<std::size_t>(c.row)) callers.resize(static_cast<std::size_t>(c.row));
        PracticeRow& row = callers[static_cast<std::size_t>(c.row - 1)];
        row.round = c.round;
        row.levelDb = c.caller.levelHundredths / 100.0;
        row.offsetMs = c.caller.offsetMs;
        row.outcome = std::string(outcomeName(c.outcome));
        row.calls = c.calls;
    }
    review_.marked({practice_.rows(), practice_.groupCount(), settings, practice_.elapsedSeconds(), threshold_.result(),
                    std::move(callers)});
}

}  // namespace tessaly
