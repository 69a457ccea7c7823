#pragma once
// Test recordings made in memory and an offline rig that renders them in virtual time.
#include "engine/offline_sound.h"
#include "sound/wave_bytes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaly::enginetest {

// A canonical 44-byte-header PCM WAVE file: 8-bit unsigned or 16-bit signed samples.
inline std::vector<std::uint8_t> wavBytes(int rate, int bits, const std::vector<float>& samples, int channels = 1) {
    return pcmWaveBytes(rate, bits, samples, channels);
}

inline std::vector<float> sine(double hz, int rate, std::size_t frames, float amplitude) {
    std::vector<float> s(frames);
    for (std::size_t i = 0; i < frames; ++i) s[i] = amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * hz * i / rate));
    return s;
}

// Amplitude of the `hz` component of out[from, to), by projection on sine and cosine.
inline double toneAmplitude(const std::vector<float>& out, std::size_t from, std::size_t to, double hz, int rate) {
    double c = 0, s = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double phase = 2 * std::numbers::pi * hz * static_cast<double>(i) / rate;
        c += out[i] * std::cos(phase);
        s += out[i] * std::sin(phase);
    }
    return 2 * std::hypot(c, s) / static_cast<double>(to - from);
}

inline double mean(const std::vector<float>& out, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += out[i];
    return sum / static_cast<double>(to - from);
}

inline double dB(double ratio) { return 20 * std::log10(ratio); }

// Recordings by name, found without regard to case as the built-in ones are.
class TestWaves {
public:
    void add(const std::string& name, std::vector<std::uint8_t> bytes) { files_[lower(name)] = std::move(bytes); }
    void add(const std::string& name, int rate, const std::vector<float>& samples, int bits = 16) {
        add(name, wavBytes(rate, bits, samples));
    }
    WaveLookup lookup() const {
        return [this](std::string_view name) -> std::optional<std::span<const std::uint8_t>> {
            auto it = files_.find(lower(std::string(name)));
            if (it == files_.end()) return std::nullopt;
            return std::span<const std::uint8_t>(it->second);
        };
    }

private:
    static std::string lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    std::map<std::string, std::vector<std::uint8_t>> files_;
};

// An offline output whose frames land in `out`, driven by a virtual clock `now` (ms).
class OfflineRig {
public:
    explicit OfflineRig(int rate = 48000) : rate(rate) {
        sound = makeOfflineSound(rate, [this] { return now; }, std::make_unique<Collector>(out), waves.lookup());
        device = sound->platform().openDefaultDevice();
    }
    OfflineRig(const OfflineRig&) = delete;
    OfflineRig& operator=(const OfflineRig&) = delete;

    // On the reader's bus, or the interferer's for a buffer without an effect chain.
    std::shared_ptr<SoundBuffer> buffer(const std::string& name, std::uint32_t flags = kFlagsWithTone) {
        return device->createBuffer(flags & kBufferCtrlFx ? Bus::Reader : Bus::Interferer, name, flags);
    }
    void renderTo(std::int64_t ms) {
        now = std::max(now, ms);
        sound->renderUntilMs(ms);
    }
    std::size_t frameAt(std::int64_t ms) const { return static_cast<std::size_t>(frameAtMs(ms, rate)); }

    const int rate;
    std::int64_t now = 0;
    std::vector<float> out;
    TestWaves waves;  // add recordings before making buffers of them
    std::unique_ptr<OfflineSound> sound;
    std::shared_ptr<SoundDevice> device;

private:
    class Collector final : public FrameSink {
    public:
        explicit Collector(std::vector<float>& out) : out_(out) {}
        bool write(std::span<const float> mono) override {
            out_.insert(out_.end(), mono.begin(), mono.end());
            return true;
        }
        bool close(std::string&) override { return true; }

    private:
        std::vector<float>& out_;
    };
};

}  // namespace tessaly::enginetest
