#include "pileup/caller_station.h"

#include "sound/clip_catalogue.h"
#include "sound/voice_tone.h"

namespace tessaly {

CallerStation::CallerStation(int index, WindowControls& controls, SoundPlatform& platform, TimerClock& clock,
                             RandomSource& random)
    : controls_(controls), random_(random), station_(platform, callerBus(index), /*toned=*/true),
      timer_("CallerTimer" + std::to_string(index + 1), 21 + index) {
    timer_.attach(&clock, [this] { tick(); });
    timer_.setEnabled(false);
}

int CallerStation::call(const Caller& caller, bool figures, int intervalMs, int fadeLevel) {
    caller_ = caller;
    figures_ = figures;
    text_ = caller.twice ? caller.callsign + " " + caller.callsign : caller.callsign;
    at_ = 0;
    intervalMs_ = intervalMs;
    fadeLevel_ = fadeLevel;
    if (caller.offsetMs <= 0) {
        tick();  // the first clip now; the rest at the pace
    } else {
        timer_.setInterval(caller.offsetMs);
        timer_.setEnabled(true);
    }
    return caller.offsetMs + static_cast<int>(text_.size()) * intervalMs;
}

void CallerStation::tick() {
    if (at_ >= text_.size()) {
        timer_.setEnabled(false);
        return;
    }
    const std::string character = text_.substr(at_++, 1);
    // A pause between the two callsigns of a call says nothing.
    if (character != " ") {
        const std::string clip = clipNameFor(character, {controls_.words(), figures_, caller_.speaker}, random_);
        station_.say(clip, caller_.levelHundredths + fadeLevel_, kClipFrequency, toneBoost(controls_.Slider2.value));
    }
    // The pace from the first clip on; done after the last.
    timer_.setInterval(intervalMs_);
    timer_.setEnabled(at_ < text_.size());
}

void CallerStation::stop() {
    timer_.setEnabled(false);
    station_.stop();
}

void CallerStation::release() {
    timer_.setEnabled(false);
    station_.release();
}

}  // namespace tessaly
