#pragma once
// A practice rendered through the real mixer in virtual time, read back as samples,
// for checks on what a listener hears.
#include "form_fixture.h"
#include "wave_probe.h"

#include <cmath>

namespace tessaly::testing {

constexpr int kRate = 48000;

class RenderedPractice {
public:
    explicit RenderedPractice(const std::string& name, std::uint64_t seed = 3)
        : path_(::testing::TempDir() + "tessaly_" + name + ".wav"), session_(options(seed)) {
        session_.load();
    }
    ~RenderedPractice() { std::remove(path_.c_str()); }

    void wait(std::int64_t ms) { clock.advance(ms); }

    // Finishes the file and returns its samples, scaled to -1..1.
    const std::vector<double>& samples() {
        if (!samples_.empty()) return samples_;
        std::string error;
        if (!session_.finish(error)) throw std::runtime_error(error);
        samples_ = test::waveFileSamples(path_, kRate);
        if (samples_.empty()) throw std::runtime_error("unexpected WAV");
        return samples_;
    }

    static std::size_t frameAt(std::int64_t ms) { return static_cast<std::size_t>(std::llround(ms * kRate / 1000.0)); }

    // RMS level in dB (full scale = 0) over [fromMs, toMs).
    double levelDb(std::int64_t fromMs, std::int64_t toMs) {
        const auto& s = samples();
        double sum = 0;
        const std::size_t a = frameAt(fromMs), b = std::min(frameAt(toMs), s.size());
        for (std::size_t i = a; i < b; ++i) sum += s[i] * s[i];
        return 10 * std::log10(sum / static_cast<double>(b - a) + 1e-30);
    }

    // The first frame at or after `from` whose magnitude exceeds `threshold` (about
    // -64 dBFS: 20 steps of 16 bits; silence between clips renders as exact zeros).
    std::size_t firstSoundFrom(std::size_t from, double threshold = 0.0006) {
        const auto& s = samples();
        for (std::size_t i = from; i < s.size(); ++i)
            if (std::abs(s[i]) > threshold) return i;
        return s.size();
    }

    HostRecord host;

private:
    HeadlessSession::Options options(std::uint64_t seed) {
        HeadlessSession::Options o;
        o.seed = seed;
        o.output = HeadlessSession::Output::Wav;
        o.wavPath = path_;
        o.onEvent = [this](const HostEvent& e) { host.take(e); };
        return o;
    }

    std::string path_;
    HeadlessSession session_;
    std::vector<double> samples_;

public:
    VirtualClock& clock = session_.clock();
    Session* form = &session_.form();
    UserInput* input = &session_.input();
};

}  // namespace tessaly::testing
