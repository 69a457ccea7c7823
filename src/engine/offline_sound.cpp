#include "engine/offline_sound.h"

#include "engine/engine.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

class OfflineOutput final : public Output {
public:
    OfflineOutput(Mixer& mixer, std::function<std::int64_t()> nowMs, std::unique_ptr<FrameSink> sink)
        : mixer_(mixer), nowMs_(std::move(nowMs)), sink_(std::move(sink)), block_(Mixer::kBlockFrames * 16) {}

    void beforeOperation() override { renderUntilMs(nowMs_()); }
    // Rendered up to the virtual clock just before: exactly the frame of now.
    std::int64_t stampFrame() override { return frame_; }
    bool stop() override { return true; }  // rendering happens on the UI thread only

    void renderUntilMs(std::int64_t ms) {
        const std::int64_t target = frameAtMs(ms, mixer_.outputRate());
        // Zero frames still applies the commands sent so far, so they take effect at
        // exactly this frame even when time has not moved.
        if (target <= frame_ || writeFailed_) mixer_.render(nullptr, 0);
        // After a failed write nothing more is mixed: the output is lost, and the
        // host learns why from finish(). Time still moves, so the practice ends as
        // fast as its logic runs.
        if (writeFailed_) frame_ = std::max(frame_, target);
        while (frame_ < target) {
            const auto n = static_cast<std::size_t>(std::min<std::int64_t>(target - frame_, static_cast<std::int64_t>(block_.size())));
            mixer_.render(block_.data(), n);
            frame_ += static_cast<std::int64_t>(n);
            if (sink_ && !sink_->write({block_.data(), n})) {
                writeFailed_ = true;
                frame_ = target;
            }
        }
    }

    bool writeFailed() const { return writeFailed_; }

    bool finish(std::string& error) {
        renderUntilMs(nowMs_());
        if (!sink_) {
            error = "the output is already finished";
            return false;
        }
        std::string closeError;
        const bool closed = sink_->close(closeError);
        sink_.reset();  // later rendering keeps the voices' state but writes nowhere
        if (writeFailed_) {
            error = "writing the sound failed" + (closeError.empty() ? std::string() : ": " + closeError);
            return false;
        }
        if (!closed) error = closeError;
        return closed;
    }

private:
    Mixer& mixer_;
    std::function<std::int64_t()> nowMs_;
    std::unique_ptr<FrameSink> sink_;
    std::vector<float> block_;
    std::int64_t frame_ = 0;  // the next frame to render
    bool writeFailed_ = false;
};

class OfflineSoundImpl final : public OfflineSound {
public:
    OfflineSoundImpl(int sampleRate, std::function<std::int64_t()> nowMs, std::unique_ptr<FrameSink> sink,
                     WaveLookup waves, float outputGainDb)
        : engine_(std::make_shared<Engine>(std::make_shared<Mixer>(sampleRate, outputGainDb), std::move(waves))),
          output_(std::make_shared<OfflineOutput>(engine_->mixer(), std::move(nowMs), std::move(sink))) {
        engine_->setOutput(output_);
    }

    SoundPlatform& platform() override { return engine_->platform(); }

    void renderUntilMs(std::int64_t ms) override {
        engine_->handOverPending();
        output_->renderUntilMs(ms);
        engine_->freeFinished();
    }

    bool finish(std::string& error) override { return output_->finish(error); }
    bool writeFailed() const override { return output_->writeFailed(); }

private:
    std::shared_ptr<Engine> engine_;
    std::shared_ptr<OfflineOutput> output_;
};

}  // namespace

std::unique_ptr<OfflineSound> makeOfflineSound(int sampleRate, std::function<std::int64_t()> nowMs,
                                               std::unique_ptr<FrameSink> sink, WaveLookup waves, float outputGainDb) {
    return std::make_unique<OfflineSoundImpl>(sampleRate, std::move(nowMs), std::move(sink), std::move(waves),
                                              outputGainDb);
}

}  // namespace tessaly
