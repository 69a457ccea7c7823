#pragma once
// A practice rendered through the real mixer in virtual time, read back as samples,
// for checks on what a listener hears.
#include "../practice/form_fixture.h"
#include "../resources/wave_probe.h"
#include "speech/engine/sound_outputs.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace tessaly::testing {

constexpr int kRate = 48000;

class RenderedPractice {
public:
    explicit RenderedPractice(const std::string& name, std::uint64_t seed = 3)
        : path_(::testing::TempDir() + "tessaly_" + name + ".wav"), random_(seed) {
        std::string error;
        wav_ = makeWavOutput(path_, {}, [this] { return clock.nowMs(); }, error);
        if (!wav_) throw std::runtime_error(error);
        form = std::make_unique<MainForm>(clock, wav_->platform(), random_, host);
        input = std::make_unique<UserInput>(*form);
        form->Form_Load();
    }
    ~RenderedPractice() { std::remove(path_.c_str()); }

    void wait(std::int64_t ms) { clock.advance(ms); }

    // Finishes the file and returns its samples, scaled to -1..1.
    const std::vector<double>& samples() {
        if (!samples_.empty()) return samples_;
        wav_->renderUntilMs(clock.nowMs());
        std::string error;
        if (!wav_->finish(error)) throw std::runtime_error(error);
        std::ifstream in(path_, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        const auto probe = test::probeWave(bytes);
        if (!probe || probe->rateHz != kRate || probe->channels != 1) throw std::runtime_error("unexpected WAV");
        for (int s : probe->samples()) samples_.push_back(s / 32768.0);
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

    VirtualClock clock;
    RecordingHost host{clock};
    std::unique_ptr<MainForm> form;
    std::unique_ptr<UserInput> input;

private:
    std::string path_;
    RandomSource random_;
    std::unique_ptr<OfflineSound> wav_;
    std::vector<double> samples_;
};

}  // namespace tessaly::testing
