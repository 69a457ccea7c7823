#include "review/replay.h"

#include "practice/reading_pace.h"
#include "sound/clip_catalogue.h"
#include "sound/voice_tone.h"

namespace tessaly {

Replay::Replay(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random, FormHost& host,
               const Practice& practice, const Band& band, const PracticeReader& reader)
    : controls_(controls), random_(random), host_(host), practice_(practice), band_(band), reader_(reader),
      voice_(platform, Bus::Reader, /*toned=*/true) {
    timer_.attach(&clock, [this] { ReplayTimer_Timer(); });
    timer_.setEnabled(false);
}

bool Replay::canReplay(int row) const {
    const auto& rows = practice_.rows();
    if (practice_.practising() || row < 1 || row > practice_.groupCount() || static_cast<std::size_t>(row) > rows.size())
        return false;
    const CallsignRow& r = rows[static_cast<std::size_t>(row - 1)];
    return r.copied.has_value() && !r.line.empty();
}

bool Replay::replay(int row) {
    if (!canReplay(row)) return false;
    text_ = practice_.rows()[static_cast<std::size_t>(row - 1)].line;
    speaker_ = practice_.rows()[static_cast<std::size_t>(row - 1)].speaker;
    at_ = 0;
    ReplayTimer_Timer();
    timer_.setInterval(readerIntervalMs(controls_.Slider1.value));
    timer_.setEnabled(at_ < text_.size());
    return true;
}

void Replay::ReplayTimer_Timer() {
    if (practice_.practising() || at_ >= text_.size()) {
        timer_.setEnabled(false);
        return;
    }
    Speech voice = reader_.steadyVoice();
    voice.speaker = speaker_;
    speak(clipNameFor(text_.substr(at_++, 1), voice, random_));
    if (at_ >= text_.size()) timer_.setEnabled(false);
}

void Replay::speak(const std::string& clipName) {
    host_.clipStarted(clipName, band_.fadeLevel(), kClipFrequency);
    voice_.say(clipName, band_.fadeLevel(), kClipFrequency, toneBoost(controls_.Slider2.value));
}

}  // namespace tessaly
