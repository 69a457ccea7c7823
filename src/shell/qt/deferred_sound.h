#pragma once
// The live sound output, opened on a worker thread once asked to, so that the
// window's first paint never waits for the audio system (PortAudio alone spends
// 70 to 85 ms initialising) nor for the reading of a voice pack. The window's load
// handler, which runs after that paint, is the first to ask for the device and
// waits for the worker if need be. The worker also decodes the two noise
// recordings that the load handler makes buffers of (70-100 ms on the UI thread otherwise).
#include "engine/sound_outputs.h"
#include "sound/tracing_sound.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

namespace tessaly::qt {

class DeferredSoundPlatform final : public SoundPlatform {
public:
    // voicesPath: a voice pack whose clips go in front of the built-in ones ("" for none).
    explicit DeferredSoundPlatform(std::string voicesPath = {});
    ~DeferredSoundPlatform() override;

    // Starts opening the live output on its own thread; the first use opens it
    // at once if nobody did.
    void startOpening();

    // True once the worker is done: using the platform then waits for nothing.
    bool ready() const;

    std::shared_ptr<SoundDevice> openDefaultDevice() override;
    bool hasDevice();  // false: the practice runs silently
    // The live output's pace for the form clock (see LiveSound::followFormClock), or
    // null without a live output.
    std::shared_ptr<Pace> followFormClock(std::function<std::int64_t()> formNowMs);
    // Where the sound goes now, without waiting: Starting until the output is open.
    SoundStatus status();
    // What the window should tell the user about the voice pack, in its language:
    // the files refused (the built-in clips speak for them), or a folder that could
    // not be read. Empty when all is well.
    std::vector<std::string> voicePackProblems();

private:
    struct Opened {
        std::unique_ptr<LiveSound> live;
        std::vector<std::string> problems;
    };
    SoundPlatform& resolved();

    std::string voicesPath_;
    std::future<Opened> opening_;
    std::unique_ptr<LiveSound> live_;
    std::vector<std::string> problems_;
    // Without any output the practice still runs, silently.
    TracingSoundPlatform silent_{nullptr, {}};
    SoundPlatform* platform_ = nullptr;
};

}  // namespace tessaly::qt
