// openLiveSound: one mixer behind the default output device (or the null output while
// there is none).
#include "engine/live_output.h"

namespace tessaly {
namespace {

class LiveSoundImpl final : public LiveSound {
public:
    explicit LiveSoundImpl(WaveLookup waves) {
        auto mixer = std::make_shared<Mixer>(LiveOutput::kSampleRate, kOutputHeadroomDb);
        engine_ = std::make_shared<Engine>(mixer, std::move(waves));
        engine_->store().setPrefetching(true);
        output_ = std::make_shared<LiveOutput>(
            mixer, portAudioDevice(LiveOutput::kSampleRate, LiveOutput::kFramesPerCallback));
        engine_->setOutput(output_);
        output_->start();
    }

    SoundPlatform& platform() override { return engine_->platform(); }
    bool usingDevice() const override { return output_->usingDevice(); }
    bool waitForDevice(int timeoutMs) override { return output_->waitUntilSettled(timeoutMs); }
    SoundStatus status() const override { return output_->status(); }
    void preload(std::initializer_list<std::string_view> names) override {
        for (std::string_view name : names) engine_->store().wave(name);
    }
    std::shared_ptr<Pace> followFormClock(std::function<std::int64_t()> formNowMs) override {
        auto pace = std::make_shared<FramePace>(output_->frameClock(), LiveOutput::kSampleRate, std::move(formNowMs));
        output_->stampBy(pace);
        return pace;
    }
    Lateness lateness() const override {
        const Mixer& mixer = engine_->mixer();
        return {mixer.lateCommands(), static_cast<double>(mixer.mostLateFrames()) * 1000.0 / LiveOutput::kSampleRate,
                output_->underflows()};
    }

private:
    std::shared_ptr<Engine> engine_;  // buffers still held elsewhere keep it (and the output) alive
    std::shared_ptr<LiveOutput> output_;
};

}  // namespace

std::unique_ptr<LiveSound> openLiveSound(WaveLookup waves) { return std::make_unique<LiveSoundImpl>(std::move(waves)); }

}  // namespace tessaly
