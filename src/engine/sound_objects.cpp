#include "engine/sound_objects.h"

#include "engine/engine.h"
#include "engine/ssb_passband.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace tessaly {

float amplitudeOf(int hundredthsDb) {
    return hundredthsDb <= kVolumeSilent ? 0.0f : static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

namespace {

class Buffer;

class Equaliser final : public ParamEq {
public:
    explicit Equaliser(std::shared_ptr<Buffer> buffer) : buffer_(std::move(buffer)) {}
    bool setAllParameters(const ParamEqParameters& p) override;
    ParamEqParameters getAllParameters() const override;

private:
    std::shared_ptr<Buffer> buffer_;  // the equaliser keeps its buffer alive
};

class Buffer final : public SoundBuffer, public std::enable_shared_from_this<Buffer> {
public:
    Buffer(std::shared_ptr<Engine> engine, Voice& voice, std::string key, WaveHeader header, std::uint32_t flags)
        : engine_(std::move(engine)), voice_(voice), key_(std::move(key)), header_(header), flags_(flags),
          frequency_(header_.sampleRate) {
        engine_->store().prefetch(key_, frequency_);
    }

    ~Buffer() override {
        engine_->beginOperation();
        engine_->send(voice_, Command{Command::Kind::Release});
    }

    bool play(bool looping) override {
        engine_->beginOperation();
        if (!sendRendition(needsFrames(looping, volume_))) return false;
        Command c{Command::Kind::Play};
        c.flag = looping;
        c.seq = ++playSeq_;
        engine_->send(voice_, c);
        playing_ = true;
        looping_ = looping;
        return true;
    }

    bool stop() override {
        engine_->beginOperation();
        engine_->send(voice_, Command{Command::Kind::Stop});
        playing_ = false;
        return true;
    }

    bool setVolume(int hundredthsDb) override {
        engine_->beginOperation();
        if (!(flags_ & kBufferCtrlVolume) || hundredthsDb < kVolumeSilent || hundredthsDb > kVolumeFull) return false;
        // The supervisory timer writes the same volume every 10 ms: no need to tell the mixer.
        if (hundredthsDb == volume_) return true;
        // A silent loop becoming audible needs its frames from this moment.
        if (isPlaying() && !sendRendition(needsFrames(looping_, hundredthsDb))) return false;
        volume_ = hundredthsDb;
        Command c{Command::Kind::Volume};
        c.gain = amplitudeOf(hundredthsDb);
        engine_->send(voice_, c);
        return true;
    }

    bool setFrequency(int samplesPerSecond) override {
        engine_->beginOperation();
        if (!(flags_ & kBufferCtrlFrequency)) return false;
        const int frequency = samplesPerSecond == 0 ? header_.sampleRate : samplesPerSecond;
        if (frequency < kMinFrequency || frequency > kMaxFrequency) return false;
        if (frequency == frequency_) return true;
        const int previous = frequency_;
        frequency_ = frequency;
        if (isPlaying()) {
            if (!sendRendition(needsFrames(looping_, volume_))) {
                frequency_ = previous;
                return false;
            }
        } else {
            engine_->store().prefetch(key_, frequency_);  // it is used at the next Play
        }
        return true;
    }

    int getStatus() const override {
        engine_->beginOperation();
        if (!isPlaying()) return 0;
        return kStatusPlaying | (looping_ ? kStatusLooping : 0);
    }

    bool setFxParamEq() override {
        engine_->beginOperation();
        if (!(flags_ & kBufferCtrlFx) || isPlaying()) return false;
        hasFx_ = true;
        eq_ = ParamEqParameters{};  // the platform's defaults: 8000 Hz, 12 semitones, 0 dB
        sendEq();
        return true;
    }

    std::shared_ptr<ParamEq> paramEqInPath(int index) override {
        engine_->beginOperation();
        if (!hasFx_ || index != 0) return nullptr;
        return std::make_shared<Equaliser>(shared_from_this());
    }

    bool setEq(const ParamEqParameters& p) {
        engine_->beginOperation();
        if (!(p.centerHz >= 80.0f && p.centerHz <= 16000.0f) ||
            !(p.bandwidthSemitones >= 1.0f && p.bandwidthSemitones <= 36.0f) ||
            !(p.gainDb >= -15.0f && p.gainDb <= 15.0f)) {
            return false;
        }
        // The filter is recomputed only when a parameter really changed.
        if (p.centerHz == eq_.centerHz && p.bandwidthSemitones == eq_.bandwidthSemitones && p.gainDb == eq_.gainDb) {
            return true;
        }
        eq_ = p;
        sendEq();
        return true;
    }

    ParamEqParameters eq() const { return eq_; }

private:
    // A once-play ends by itself; the mixer says so through the voice.
    bool isPlaying() const {
        if (playing_ && !looping_ && voice_.endedPlay.load(std::memory_order_acquire) == playSeq_) playing_ = false;
        return playing_;
    }

    // A loop at silence (the band noise while its level is off, the crackle's loop
    // before it is ticked) plays without frames: it keeps its place, and no
    // resampling is spent on it until it is heard.
    static bool needsFrames(bool looping, int volume) { return !looping || volume > kVolumeSilent; }

    // The rendition at the buffer's frequency, or a silent pass of its length.
    bool sendRendition(bool withFrames) {
        if (!withFrames) {
            if (renditionFrequency_ == frequency_) return true;  // what is there will do
            engine_->setSilentRendition(voice_, renditionLength(header_.frames, frequency_,
                                                                 engine_->mixer().outputRate()));
            renditionFrequency_ = frequency_;
            silent_ = true;
            return true;
        }
        if (!silent_ && voice_.rendition && renditionFrequency_ == frequency_) return true;
        std::string error = "the recording cannot be decoded";
        const auto wave = engine_->store().wave(key_);  // decoded when first heard
        auto rendition = wave ? engine_->store().rendition(key_, wave, frequency_, error) : nullptr;
        if (!rendition) {
            std::fprintf(stderr, "tessaly: cannot play %s at %d Hz: %s\n", key_.c_str(), frequency_, error.c_str());
            return false;
        }
        engine_->setRendition(voice_, std::move(rendition));
        renditionFrequency_ = frequency_;
        silent_ = false;
        return true;
    }

    void sendEq() {
        Command c{Command::Kind::Eq};
        c.flag = true;
        c.eq = eq_;
        engine_->send(voice_, c);
    }

    std::shared_ptr<Engine> engine_;
    Voice& voice_;  // freed by the engine once the mixer is done with it, never before
    std::string key_;
    WaveHeader header_;
    std::uint32_t flags_;
    int frequency_;
    int renditionFrequency_ = 0;  // of what the voice has, frames or silent
    bool silent_ = false;         // the voice has a silent pass, no frames
    int volume_ = kVolumeFull;
    mutable bool playing_ = false;
    bool looping_ = false;
    std::uint32_t playSeq_ = 0;
    bool hasFx_ = false;
    ParamEqParameters eq_;
};

bool Equaliser::setAllParameters(const ParamEqParameters& p) { return buffer_->setEq(p); }
ParamEqParameters Equaliser::getAllParameters() const { return buffer_->eq(); }

class Channel final : public ReceivedChannel {
public:
    explicit Channel(Engine& engine) : engine_(engine) {}
    bool setSnr(int snrHundredthsDb, const SnrReference& reference) override {
        engine_.beginOperation();
        const auto level = noiseVolumeFor(snrHundredthsDb, reference);
        return level && setNoiseGain(*level);
    }
    bool clearSnr() override {
        engine_.beginOperation();
        return setNoiseGain(0);
    }
    std::optional<int> noiseVolumeFor(int snrHundredthsDb, const SnrReference& reference) override {
        const auto voice = voicePower(reference);
        const auto noise = renditionPower(reference.noise, reference.noiseFrequency, nullptr);
        if (!voice || !noise || *noise <= 0 || *voice <= 0) return std::nullopt;
        // Within what the noise gain takes: 100 dB either way of the recording's own level.
        const double level = 1000.0 * std::log10(*voice / *noise) - snrHundredthsDb;
        return static_cast<int>(std::lround(std::clamp(level, -9999.0, 9999.0)));
    }
    bool setPath(Bus station, std::string_view preset, std::uint64_t seed) override {
        engine_.beginOperation();
        const PathPreset* found = findPathPreset(preset);
        if (!found || !isStation(station)) return false;
        ChannelChange change;
        change.what = ChannelChange::What::Path;
        change.bus = station;
        change.pathPreset = static_cast<int>(found - pathPresets().data());
        change.seed = seed;
        engine_.sendChannel(change);
        return true;
    }
    bool setReceiver(bool passband, std::string_view agc) override {
        engine_.beginOperation();
        static constexpr std::pair<std::string_view, AgcSpeed> kSpeeds[] = {
            {"off", AgcSpeed::Off}, {"fast", AgcSpeed::Fast}, {"medium", AgcSpeed::Medium}, {"slow", AgcSpeed::Slow}};
        for (const auto& [name, speed] : kSpeeds) {
            if (name != agc) continue;
            ChannelChange change;
            change.what = ChannelChange::What::Receiver;
            change.passband = passband;
            change.agc = speed;
            engine_.sendChannel(change);
            return true;
        }
        return false;
    }

private:
    // The band noise's level beyond its buffer's volume, hundredths of a dB.
    bool setNoiseGain(int hundredthsDb) {
        if (hundredthsDb < kVolumeSilent || hundredthsDb > -kVolumeSilent) return false;
        ChannelChange change;
        change.what = ChannelChange::What::NoiseGain;
        change.gain = amplitudeOf(hundredthsDb);
        engine_.sendChannel(change);
        return true;
    }

    // Mean power per output frame of the voice as a callsign is spoken: each clip's
    // energy through the tone boost, shared out, over one reader interval.
    std::optional<double> voicePower(const SnrReference& r) {
        double energy = 0, shares = 0;
        for (const auto& [name, share] : r.clips) {
            double clipEnergy = 0;
            if (!renditionPower(name, r.clipFrequency, &r.tone, &clipEnergy)) return std::nullopt;
            energy += share * clipEnergy;
            shares += share;
        }
        if (shares <= 0 || r.intervalMs <= 0) return std::nullopt;
        const double framesPerClip = r.intervalMs * engine_.mixer().outputRate() / 1000.0;
        return energy / shares / framesPerClip;
    }

    // Mean power per frame of a recording at `frequency` (through `tone` if given),
    // within 300 .. 2700 Hz;
    // its energy too. Cached: the same recording, rate and tone give the same figures.
    std::optional<double> renditionPower(const std::string& name, int frequency, const ParamEqParameters* tone,
                                         double* energy = nullptr) {
        const std::string key = lowerCase(name) + "@" + std::to_string(frequency) +
                                (tone ? "/" + std::to_string(tone->centerHz) + "/" + std::to_string(tone->bandwidthSemitones) +
                                            "/" + std::to_string(tone->gainDb)
                                      : "");
        auto it = powers_.find(key);
        if (it == powers_.end()) {
            const auto wave = engine_.store().wave(name);
            std::string error;
            const auto rendition = wave ? engine_.store().rendition(lowerCase(name), wave, frequency, error) : nullptr;
            if (!rendition || rendition->length == 0) return std::nullopt;
            std::vector<float> sound(rendition->frames, rendition->frames + rendition->length);
            if (tone) {
                PeakingEq eq;
                eq.setCoefficients(peakingCoefficients(*tone, engine_.mixer().outputRate()));
                eq.process(sound.data(), static_cast<int>(sound.size()));
            }
            // Only what lies in the receiver's passband counts: the SNR is the same
            // ratio whether the receiver is on or off.
            SsbPassband inBand(engine_.mixer().outputRate());
            inBand.process(sound.data(), static_cast<int>(sound.size()));
            double sum = 0;
            for (float x : sound) sum += static_cast<double>(x) * x;
            it = powers_.emplace(key, std::make_pair(sum, sum / static_cast<double>(sound.size()))).first;
        }
        if (energy) *energy = it->second.first;
        return it->second.second;
    }

    Engine& engine_;
    std::map<std::string, std::pair<double, double>> powers_;  // energy, mean power per frame
};

class Device final : public SoundDevice {
public:
    explicit Device(std::shared_ptr<Engine> engine) : engine_(std::move(engine)), channel_(*engine_) {}
    ReceivedChannel* channel() override { return &channel_; }

    std::shared_ptr<SoundBuffer> createBuffer(Bus bus, std::string_view name, std::uint32_t flags) override {
        engine_->beginOperation();
        const auto header = engine_->store().header(name);
        if (!header) return nullptr;
        Voice* voice = engine_->newVoice(bus);
        if (!voice) return nullptr;
        return std::make_shared<Buffer>(engine_, *voice, lowerCase(name), *header, flags);
    }

private:
    std::shared_ptr<Engine> engine_;
    Channel channel_;
};

}  // namespace

std::shared_ptr<SoundDevice> makeSoundDevice(std::shared_ptr<Engine> engine) {
    return std::make_shared<Device>(std::move(engine));
}

}  // namespace tessaly
