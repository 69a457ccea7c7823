#pragma once
// A part's hold on the sound device: opened from the platform when the part needs it
// (a station before every clip, the band at load), let go when the window closes.
// The platform hands back the device it has while the default device is unchanged,
// so every part holds the same one.
#include "sound/sound_api.h"

#include <memory>

namespace tessaly {

class DeviceLink {
public:
    explicit DeviceLink(SoundPlatform& platform) : platform_(platform) {}
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Opens the default device again; null when there is none.
    SoundDevice* reopen() {
        device_ = platform_.openDefaultDevice();
        return device_.get();
    }
    SoundDevice* device() const { return device_.get(); }
    // The received channel of the device now open, or null.
    ReceivedChannel* channel() const { return device_ ? device_->channel() : nullptr; }
    void release() { device_.reset(); }

private:
    SoundPlatform& platform_;
    std::shared_ptr<SoundDevice> device_;
};

}  // namespace tessaly
