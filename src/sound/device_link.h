#pragma once
// The sound device as the parts of the practice share it. It is opened from the
// platform at load and again before every clip (the platform hands back the device it
// has while the default device is unchanged), and let go when the window closes.
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
