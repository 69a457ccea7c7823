#include "engine/engine.h"

#include "engine/sound_objects.h"

#include <algorithm>

namespace tessaly {

class Engine::Platform final : public SoundPlatform {
public:
    explicit Platform(Engine& engine) : engine_(engine) {}
    // Opening the default device again is the common case (before every clip): hand
    // back the one already open, which plays on the output this engine was made for.
    std::shared_ptr<SoundDevice> openDefaultDevice() override {
        auto device = device_.lock();
        if (!device) {
            device = makeSoundDevice(engine_.shared_from_this());
            device_ = device;
        }
        return device;
    }

private:
    Engine& engine_;
    std::weak_ptr<SoundDevice> device_;  // the device holds the engine, not the reverse
};

Engine::Engine(std::shared_ptr<Mixer> mixer, WaveLookup waves)
    : mixer_(std::move(mixer)), store_(std::move(waves), mixer_->outputRate()),
      platform_(std::make_unique<Platform>(*this)) {}

Engine::~Engine() {
    const bool stopped = !output_ || output_->stop();
    if (!stopped) {
        // A rendering thread may still read the voices: leave them to the end of the
        // program rather than free memory under it.
        for (auto& voice : voices_) voice.release();
    }
}

SoundPlatform& Engine::platform() { return *platform_; }

void Engine::beginOperation() {
    handOverPending();
    if (output_) output_->beforeOperation();
    freeFinished();
}

void Engine::handOverPending() {
    std::size_t handed = 0;
    while (handed < pending_.size() && mixer_->send(pending_[handed])) ++handed;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(handed));
}

void Engine::send(Voice& voice, Command command) {
    command.voice = &voice;
    command.count = ++voice.sent;
    queue(command);
}

void Engine::sendChannel(const ChannelChange& change) {
    Command command{Command::Kind::Channel};
    command.change = change;
    queue(command);
}

void Engine::queue(Command command) {
    command.frame = output_ ? output_->stampFrame() : 0;
    if (!pending_.empty() || !mixer_->send(command)) pending_.push_back(command);
    if (output_) output_->commandQueued();
}

Voice* Engine::newVoice(Bus bus) {
    freeFinished();
    if (voices_.size() >= static_cast<std::size_t>(Mixer::kMaxVoices)) return nullptr;
    voices_.push_back(std::make_unique<Voice>());
    Voice* voice = voices_.back().get();
    Command add{Command::Kind::Add};
    add.bus = bus;
    send(*voice, add);
    return voice;
}

void Engine::setRendition(Voice& voice, std::shared_ptr<const Rendition> rendition) {
    Command command{Command::Kind::Rendition};
    command.frames = rendition->frames;
    command.length = rendition->length;
    send(voice, command);
    if (voice.rendition) voice.replaced.emplace_back(voice.sent, std::move(voice.rendition));
    voice.rendition = std::move(rendition);
    const std::uint32_t applied = voice.applied.load(std::memory_order_acquire);
    std::erase_if(voice.replaced, [applied](const auto& r) { return r.first <= applied; });
}

void Engine::setSilentRendition(Voice& voice, std::size_t length) {
    Command command{Command::Kind::Rendition};
    command.frames = nullptr;
    command.length = length;
    send(voice, command);
    if (voice.rendition) voice.replaced.emplace_back(voice.sent, std::move(voice.rendition));
    voice.rendition = nullptr;
}

void Engine::freeFinished() {
    while (Voice* done = mixer_->takeFinished()) {
        std::erase_if(voices_, [done](const auto& v) { return v.get() == done; });
    }
}

}  // namespace tessaly
