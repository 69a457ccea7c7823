#include "shell/qt/deferred_sound.h"

namespace tessaly::qt {

DeferredSoundPlatform::DeferredSoundPlatform() = default;

void DeferredSoundPlatform::startOpening() {
    if (opening_.valid() || platform_) return;
    opening_ = std::async(std::launch::async, []() -> std::unique_ptr<LiveSound> {
        try {
            return openLiveSound();
        } catch (...) {
            return nullptr;  // no sound is better than no window
        }
    });
}

DeferredSoundPlatform::~DeferredSoundPlatform() {
    // Never opened (the window closed before loading): wait for the worker, so the
    // device it may have opened is closed here and not behind the program's back.
    if (opening_.valid()) opening_.get();
}

SoundPlatform& DeferredSoundPlatform::resolved() {
    if (!platform_) {
        startOpening();
        live_ = opening_.get();
        platform_ = live_ ? &live_->platform() : &silent_;
    }
    return *platform_;
}

std::shared_ptr<SoundDevice> DeferredSoundPlatform::openDefaultDevice() { return resolved().openDefaultDevice(); }

bool DeferredSoundPlatform::hasDevice() {
    resolved();
    return live_ && live_->usingDevice();
}

}  // namespace tessaly::qt
