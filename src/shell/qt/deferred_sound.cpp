#include "shell/qt/deferred_sound.h"

#include "voices/voice_pack.h"

namespace tessaly::qt {

DeferredSoundPlatform::DeferredSoundPlatform(std::string voicesPath) : voicesPath_(std::move(voicesPath)) {}

void DeferredSoundPlatform::startOpening() {
    if (opening_.valid() || platform_) return;
    opening_ = std::async(std::launch::async, [folder = voicesPath_]() -> Opened {
        Opened opened;
        WaveLookup waves = builtInWaves();
        if (!folder.empty()) {
            std::string error;
            if (auto pack = VoicePack::load(folder, error)) {
                for (const PackClip* clip : pack->refused())
                    opened.problems.push_back(clip->file + "：" + refusalTextZh(*clip));
                waves = pack->lookup(std::move(waves));
            } else {
                opened.problems.push_back("无法读取声音包文件夹 " + folder);
            }
        }
        try {
            opened.live = openLiveSound(std::move(waves));
            opened.live->preload({"zaoyin", "qrn"});
        } catch (...) {
            // no sound is better than no window
        }
        return opened;
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
        Opened opened = opening_.get();
        live_ = std::move(opened.live);
        problems_ = std::move(opened.problems);
        platform_ = live_ ? &live_->platform() : &silent_;
    }
    return *platform_;
}

std::shared_ptr<SoundDevice> DeferredSoundPlatform::openDefaultDevice() { return resolved().openDefaultDevice(); }

bool DeferredSoundPlatform::hasDevice() {
    resolved();
    return live_ && live_->usingDevice();
}

std::shared_ptr<Pace> DeferredSoundPlatform::followFormClock(std::function<std::int64_t()> formNowMs) {
    resolved();
    return live_ ? live_->followFormClock(std::move(formNowMs)) : nullptr;
}

bool DeferredSoundPlatform::ready() const {
    return platform_ || (opening_.valid() && opening_.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
}

SoundStatus DeferredSoundPlatform::status() {
    if (!platform_) return {};
    // No live output at all (it could not even be made): silent for good.
    return live_ ? live_->status() : SoundStatus{SoundState::Silent, 1};
}

std::vector<std::string> DeferredSoundPlatform::voicePackProblems() {
    resolved();
    return problems_;
}

}  // namespace tessaly::qt
