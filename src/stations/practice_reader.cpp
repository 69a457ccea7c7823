#include "stations/practice_reader.h"

#include "practice/reading_pace.h"
#include "base/speakers.h"
#include "sound/clip_catalogue.h"
#include "sound/voice_tone.h"

#include <limits>

namespace tessaly {
namespace {

// A tone sweep moves the boost's centre 1 Hz a step from 800 Hz down to 80 .. 799 Hz
// (never 800, so that every sweep turns and ends); one tick in five starts one.
constexpr ExcursionRule kToneSweepRule{kSweepTopHz, 1, 5, 3, 11, 1, 720, 80};

}  // namespace

PracticeReader::PracticeReader(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random,
                               FormHost& host, std::function<void()> tick)
    : controls_(controls), random_(random), host_(host), station_(platform, Bus::Reader, /*toned=*/true),
      toneSweep_(kToneSweepRule, Timer9, Timer10, random) {
    Timer2.attach(&clock, std::move(tick));
    Timer8.attach(&clock, [this] { Timer8_Timer(); });
    Timer9.attach(&clock, [this] { Timer9_Timer(); });
    Timer10.attach(&clock, [this] { Timer10_Timer(); });
}

void PracticeReader::restartInterval() { Timer2.setInterval(readerIntervalMs(controls_.Slider1.value)); }

void PracticeReader::startReading() {
    restartInterval();
    Timer2.setEnabled(true);
    waitingForAnswer_ = false;
}

PracticeReader::Step PracticeReader::next(const std::string& text) {
    ++readPos_;
    Step step;
    if (readPos_ >= 1 && static_cast<std::size_t>(readPos_) <= text.size())
        step.character = text.substr(static_cast<std::size_t>(readPos_ - 1), 1);
    // A callsign's first character: the reader has begun that line.
    step.beginsCallsign = !step.character.empty() && step.character != "\r" && step.character != "\n" &&
                          (readPos_ == 1 || text[static_cast<std::size_t>(readPos_ - 2)] == '\n');
    return step;
}

bool PracticeReader::speak(const Step& step, bool grouped, int volume) {
    clipName_ = clipNameFor(step.character, voice(), random_);
    if (clipName_ == "NULL" && grouped) {
        // End of a callsign in grouped reading: wait for the answer, and skip the LF.
        waitingForAnswer_ = true;
        Timer2.setEnabled(false);
        ++readPos_;
    }
    controls_.Text5.setText(std::to_string(readPos_) + clipName_);
    host_.clipStarted(clipName_, volume, kClipFrequency);
    station_.say(clipName_, volume, kClipFrequency, toneBoost(controls_.Slider2.value));
    return clipName_ != "NULL";
}

const std::string& PracticeReader::beginCallsign() {
    if (speakerChoice_ == "varied") {
        const auto speakers = builtInSpeakers();
        random_.reseedFromClock();
        speaker_ = std::string(speakers[static_cast<std::size_t>(random_.draw(static_cast<int>(speakers.size()), 0))].name);
    } else {
        speaker_ = fixedSpeaker();
    }
    return speaker_;
}

void PracticeReader::resumeAfterAnswer() {
    if (Timer2.enabled()) return;
    waitingForAnswer_ = false;
    Timer2.setEnabled(true);
}

void PracticeReader::startVariations() {
    if (controls_.Check5.ticked()) {
        Timer8.setInterval(2000);
        Timer8.setEnabled(true);
    }
    if (controls_.Check6.ticked()) toneSweep_.start(1000);
}

void PracticeReader::stopTimers() {
    for (Timer* t : {&Timer2, &Timer8, &Timer9, &Timer10}) t->setEnabled(false);
}

void PracticeReader::keepPace() {
    if (!waitingForAnswer_ && controls_.Check5.value != 1) restartInterval();
}

void PracticeReader::setTone() { station_.setTone(toneBoost(controls_.Slider2.value)); }

void PracticeReader::Slider1_Change(bool practising) {
    if (practising) restartInterval();
}

void PracticeReader::Slider2_Change(bool practising) {
    if (practising) setTone();
}

void PracticeReader::Check5_Click() {
    if (controls_.Check5.value == 1) {
        controls_.Slider1.enabled = false;
        Timer8.setInterval(2000);
        Timer8.setEnabled(true);
    } else {
        controls_.Slider1.enabled = true;
        Timer8.setEnabled(false);
        restartInterval();
    }
}

void PracticeReader::Timer8_Timer() {
    random_.reseedFromClock();
    const int speed = random_.draw(10, 1);  // 1..10: never the fastest manual speed
    Timer2.setInterval(readerIntervalMs(speed));
}

void PracticeReader::Check6_Click(bool practising) {
    if (controls_.Check6.value == 1) {
        controls_.Slider2.enabled = false;
        if (practising) toneSweep_.start(200);
    } else {
        controls_.Slider2.enabled = true;
        if (practising) {
            toneSweep_.stop();
            setTone();
        }
    }
}

void PracticeReader::Timer10_Timer() {
    toneSweep_.rampTick();
    controls_.Text3.setText(std::to_string(toneSweep_.value()));
    toneSweep_.clamp(std::numeric_limits<std::int16_t>::min(), kSweepTopHz);
    station_.setTone(toneBoost(toneSweep_.value()));
}

}  // namespace tessaly
