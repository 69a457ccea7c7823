#include "engine/channel_stage.h"

#include <algorithm>

namespace tessaly {

ChannelStage::ChannelStage(int sampleRate) : rampFrames_(std::max(1, sampleRate / 50)) {}

void ChannelStage::apply(const ChannelChange& change) {
    switch (change.what) {
        case ChannelChange::What::NoiseGain:
            noiseTarget_ = change.gain;
            noiseRampLeft_ = rampFrames_;
            noiseStep_ = (noiseTarget_ - noiseGain_) / static_cast<float>(rampFrames_);
            break;
        case ChannelChange::What::Path:
        case ChannelChange::What::Receiver: break;
    }
    updateSeparate();
}

void ChannelStage::updateSeparate() {
    separate_[static_cast<std::size_t>(Bus::BandNoise)] = noiseRampLeft_ > 0 || noiseGain_ != 1.0f;
}

void ChannelStage::processBus(Bus bus, float* samples, int frames) {
    if (bus != Bus::BandNoise) return;
    int i = 0;
    for (; i < frames && noiseRampLeft_ > 0; ++i, --noiseRampLeft_) {
        noiseGain_ += noiseStep_;
        samples[i] *= noiseGain_;
    }
    if (noiseRampLeft_ == 0) noiseGain_ = noiseTarget_;
    for (; i < frames; ++i) samples[i] *= noiseGain_;
    updateSeparate();
}

void ChannelStage::processReceiver(float*, int) {}

}  // namespace tessaly
