#include "stations/station.h"

namespace tessaly {

void Station::say(const std::string& clipName, int volume, int frequency, const ParamEqParameters& tone) {
    SoundDevice* device = device_.reopen();
    buffer_ = device ? device->createBuffer(bus_, clipName, toned_ ? kFlagsWithTone : kFlagsWithoutTone) : nullptr;
    if (toned_) {
        // The clip before goes once its tone is replaced: after the new clip is made.
        if (buffer_) buffer_->setFxParamEq();
        tone_ = buffer_ ? buffer_->paramEqInPath(0) : nullptr;
        if (tone_) tone_->setAllParameters(tone);
    }
    if (!buffer_) return;
    buffer_->setVolume(volume);
    buffer_->setFrequency(frequency);
    buffer_->play(false);
}

void Station::stop() {
    if (buffer_) buffer_->stop();
}

void Station::setVolume(int volume) {
    if (buffer_) buffer_->setVolume(volume);
}

void Station::setTone(const ParamEqParameters& tone) {
    if (tone_) tone_->setAllParameters(tone);
}

void Station::stopIfPlaying() {
    if (buffer_ && buffer_->getStatus() == kStatusPlaying) buffer_->stop();
}

void Station::release() {
    stopIfPlaying();
    buffer_.reset();
    tone_.reset();
    device_.release();
}

}  // namespace tessaly
