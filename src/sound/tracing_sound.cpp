#include "sound/tracing_sound.h"

#include <cctype>

namespace tessaly {

std::string busRole(Bus bus) {
    switch (bus) {
        case Bus::Reader: return "clip";
        case Bus::Interferer: return "qrm";
        case Bus::BandNoise: return "noise";
        case Bus::Static: return "qrn";
        default: break;
    }
    return "caller" + std::to_string(static_cast<int>(bus) - static_cast<int>(Bus::Caller1) + 1);
}

namespace {

using SinkPtr = std::shared_ptr<SoundOperationSink>;

SoundOperation operation(const char* name, int value = 0) {
    SoundOperation op;
    op.op = name;
    op.value = value;
    return op;
}

class TracingBuffer;

class TracingParamEq final : public ParamEq {
public:
    TracingParamEq(std::shared_ptr<TracingBuffer> owner, std::shared_ptr<ParamEq> inner)
        : owner_(std::move(owner)), inner_(std::move(inner)) {}
    bool setAllParameters(const ParamEqParameters& p) override;
    ParamEqParameters getAllParameters() const override { return inner_ ? inner_->getAllParameters() : params_; }

private:
    std::shared_ptr<TracingBuffer> owner_;  // an effect keeps its buffer alive
    std::shared_ptr<ParamEq> inner_;
    ParamEqParameters params_;
};

class TracingBuffer final : public SoundBuffer, public std::enable_shared_from_this<TracingBuffer> {
public:
    TracingBuffer(std::string role, SinkPtr sink, std::shared_ptr<SoundBuffer> inner, std::uint32_t flags)
        : role_(std::move(role)), sink_(std::move(sink)), inner_(std::move(inner)), flags_(flags) {}
    ~TracingBuffer() override { report(operation("release")); }

    bool play(bool looping) override {
        SoundOperation op = operation("play");
        op.loop = looping;
        report(op);
        status_ = kStatusPlaying | (looping ? kStatusLooping : 0);
        return inner_ ? inner_->play(looping) : true;
    }
    bool stop() override {
        report(operation("stop"));
        status_ = 0;
        return inner_ ? inner_->stop() : true;
    }
    bool setVolume(int v) override {
        report(operation("volume", v));
        return inner_ ? inner_->setVolume(v) : true;
    }
    bool setFrequency(int hz) override {
        report(operation("frequency", hz));
        return inner_ ? inner_->setFrequency(hz) : true;
    }
    int getStatus() const override { return inner_ ? inner_->getStatus() : status_; }
    bool setFxParamEq() override {
        if (!(flags_ & kBufferCtrlFx)) return false;
        hasEq_ = inner_ ? inner_->setFxParamEq() : true;
        return hasEq_;
    }
    std::shared_ptr<ParamEq> paramEqInPath(int index) override {
        if (!hasEq_ || index != 0) return nullptr;
        std::shared_ptr<ParamEq> inner;
        if (inner_) {
            inner = inner_->paramEqInPath(index);
            if (!inner) return nullptr;
        }
        return std::make_shared<TracingParamEq>(shared_from_this(), std::move(inner));
    }

    void report(SoundOperation op) const {
        op.buffer = role_;
        if (*sink_) (*sink_)(op);
    }

private:
    std::string role_;
    SinkPtr sink_;
    std::shared_ptr<SoundBuffer> inner_;
    std::uint32_t flags_;
    int status_ = 0;
    bool hasEq_ = false;
};

bool TracingParamEq::setAllParameters(const ParamEqParameters& p) {
    SoundOperation op = operation("eq");
    op.eq = p;
    owner_->report(op);
    params_ = p;
    return inner_ ? inner_->setAllParameters(p) : true;
}

class TracingChannel final : public ReceivedChannel {
public:
    explicit TracingChannel(SinkPtr sink) : sink_(std::move(sink)) {}
    bool setSnr(int snrHundredthsDb, const SnrReference& reference) override {
        report(operation("snr", snrHundredthsDb));
        return inner ? inner->setSnr(snrHundredthsDb, reference) : true;
    }
    bool clearSnr() override {
        report(operation("noise", 0));  // the noise's own level again
        return inner ? inner->clearSnr() : true;
    }
    std::optional<int> noiseVolumeFor(int snrHundredthsDb, const SnrReference& reference) override {
        return inner ? inner->noiseVolumeFor(snrHundredthsDb, reference) : std::nullopt;  // a question, not an operation
    }
    bool setPath(Bus station, std::string_view preset, std::uint64_t seed) override {
        SoundOperation op = operation("path");
        op.name = (station == Bus::Reader ? std::string("reader") : station == Bus::Interferer ? "interferer" : busRole(station)) +
                  ":" + std::string(preset);
        report(op);
        return inner ? inner->setPath(station, preset, seed) : true;
    }
    bool setReceiver(bool passband, std::string_view agc) override {
        SoundOperation op = operation("receiver");
        op.loop = passband;
        op.name = std::string(agc);
        report(op);
        return inner ? inner->setReceiver(passband, agc) : true;
    }
    ReceivedChannel* inner = nullptr;

private:
    void report(SoundOperation op) const {
        op.buffer = "channel";
        if (*sink_) (*sink_)(op);
    }
    SinkPtr sink_;
};

}  // namespace

class TracingSoundPlatform::Device final : public SoundDevice {
public:
    Device(SinkPtr sink) : sink_(std::move(sink)), channel_(sink_) {}
    ReceivedChannel* channel() override {
        channel_.inner = innerDevice ? innerDevice->channel() : nullptr;
        return &channel_;
    }
    std::shared_ptr<SoundBuffer> createBuffer(Bus bus, std::string_view name, std::uint32_t flags) override {
        std::shared_ptr<SoundBuffer> inner;
        if (innerDevice) {
            inner = innerDevice->createBuffer(bus, name, flags);
            if (!inner) return nullptr;
        }
        auto buffer = std::make_shared<TracingBuffer>(busRole(bus), sink_, std::move(inner), flags);
        SoundOperation op = operation("create");
        op.name = std::string(name);
        buffer->report(op);
        return buffer;
    }
    std::shared_ptr<SoundDevice> innerDevice;

private:
    SinkPtr sink_;
    TracingChannel channel_;
};

TracingSoundPlatform::TracingSoundPlatform(SoundPlatform* inner, SoundOperationSink sink)
    : inner_(inner), sink_(std::make_shared<SoundOperationSink>(std::move(sink))), device_(std::make_shared<Device>(sink_)) {}

TracingSoundPlatform::~TracingSoundPlatform() {
    // Buffers still held elsewhere must not report into a host that is gone.
    *sink_ = nullptr;
}

std::shared_ptr<SoundDevice> TracingSoundPlatform::openDefaultDevice() {
    if (inner_) {
        auto innerDevice = inner_->openDefaultDevice();
        if (!innerDevice) return nullptr;
        device_->innerDevice = std::move(innerDevice);
    }
    return device_;
}

}  // namespace tessaly
