#include "engine/channel_stage.h"

#include <algorithm>

namespace tessaly {

ChannelStage::ChannelStage(int sampleRate)
    : rampFrames_(std::max(1, sampleRate / 50)), receiver_(sampleRate) {
    paths_.reserve(kStationBuses);
    for (int i = 0; i < kStationBuses; ++i) paths_.push_back(std::make_unique<FadingPath>(sampleRate));
}

FadingPath* ChannelStage::pathOf(Bus bus) {
    return isStation(bus) ? paths_[static_cast<std::size_t>(stationIndex(bus))].get() : nullptr;
}

void ChannelStage::apply(const ChannelChange& change) {
    switch (change.what) {
        case ChannelChange::What::NoiseGain:
            noiseTarget_ = change.gain;
            noiseRampLeft_ = rampFrames_;
            noiseStep_ = (noiseTarget_ - noiseGain_) / static_cast<float>(rampFrames_);
            break;
        case ChannelChange::What::Path:
            if (FadingPath* path = pathOf(change.bus)) {
                const auto presets = pathPresets();
                if (change.pathPreset >= 0 && static_cast<std::size_t>(change.pathPreset) < presets.size()) {
                    path->setPreset(presets[static_cast<std::size_t>(change.pathPreset)]);
                    path->reseed(change.seed);
                }
            }
            break;
        case ChannelChange::What::Receiver:
            receiver_.setPassband(change.passband);
            receiver_.setAgc(change.agc);
            break;
    }
    updateSeparate();
}

void ChannelStage::updateSeparate() {
    separate_[static_cast<std::size_t>(Bus::BandNoise)] = noiseRampLeft_ > 0 || noiseGain_ != 1.0f;
    // A path runs on through the silence between clips, so that its fading goes on.
    for (int b = 0; b < kBusCount; ++b)
        if (const FadingPath* path = pathOf(static_cast<Bus>(b))) separate_[static_cast<std::size_t>(b)] = path->active();
}

void ChannelStage::processBus(Bus bus, float* samples, int frames) {
    if (FadingPath* path = pathOf(bus)) {
        path->process(samples, frames);
        return;
    }
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

void ChannelStage::processReceiver(float* mix, int frames) { receiver_.process(mix, frames); }

}  // namespace tessaly
