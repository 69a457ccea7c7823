#include "engine/receiver.h"

namespace tessaly {

Receiver::Receiver(int sampleRate) : passband_(sampleRate), agc_(sampleRate) {}

void Receiver::activating(bool wasActive) {
    // process() was not called while inactive: what the filters hold is stale.
    if (!wasActive && active()) {
        passband_.reset();
        agc_.reset();
    }
}

void Receiver::setPassband(bool on) {
    const bool was = active();
    if (on && !passbandOn_) passband_.reset();
    passbandOn_ = on;
    activating(was);
}

void Receiver::setAgc(AgcSpeed speed) {
    const bool was = active();
    agc_.setSpeed(speed);
    activating(was);
}

void Receiver::process(float* samples, int frames) {
    if (!active()) return;
    if (passbandOn_) passband_.process(samples, frames);
    agc_.process(samples, frames);
}

}  // namespace tessaly
