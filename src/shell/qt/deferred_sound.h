#pragma once
// The live sound output, opened on a worker thread once asked to, so that the
// window's first paint never waits for the audio system (PortAudio alone spends
// 70 to 85 ms initialising). The window's load handler, which runs after that
// paint, is the first to ask for the device and waits for the worker if need be.
#include "engine/sound_outputs.h"
#include "sound/tracing_sound.h"

#include <future>
#include <memory>

namespace tessaly::qt {

class DeferredSoundPlatform final : public SoundPlatform {
public:
    DeferredSoundPlatform();
    ~DeferredSoundPlatform() override;

    // Starts opening the live output on its own thread; the first use opens it
    // at once if nobody did.
    void startOpening();

    std::shared_ptr<SoundDevice> openDefaultDevice() override;
    bool hasDevice();  // false: the practice runs silently

private:
    SoundPlatform& resolved();

    std::future<std::unique_ptr<LiveSound>> opening_;
    std::unique_ptr<LiveSound> live_;
    // Without any output the practice still runs, silently.
    TracingSoundPlatform silent_{nullptr, {}};
    SoundPlatform* platform_ = nullptr;
};

}  // namespace tessaly::qt
