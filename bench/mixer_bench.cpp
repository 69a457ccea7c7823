// The mixer under a busy practice: a spoken clip with the tone equaliser every second,
// an interfering clip every second, both noise loops, and the noise volume and the
// tone centre changing every 10 ms (noise dips and a tone sweep running together).
//
//   tessaly_mixer_bench            x_realtime = seconds of sound per second of CPU
//
// BusyScene counts everything the program does (UI-thread operations and rendering);
// Callback counts only the audio callback, so 100 / x_realtime is the share of one
// core the callback takes during such a practice.
#include "engine/live_output.h"
#include "engine/offline_sound.h"
#include "sound/wave_bytes.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>
#include <map>
#include <numbers>
#include <random>

namespace tessaly {
namespace {


// Recordings shaped like the real ones: 0.6 s of voiced sound, 5 s and 60 s of noise.
class SceneWaves {
public:
    SceneWaves() {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        std::vector<float> voice(13230);
        for (std::size_t i = 0; i < voice.size(); ++i) {
            const double t = static_cast<double>(i) / 22050;
            voice[i] = static_cast<float>(0.3 * std::sin(2 * std::numbers::pi * 140 * t) +
                                          0.2 * std::sin(2 * std::numbers::pi * 700 * t) + 0.05 * noise(random));
        }
        std::vector<float> zaoyin(220500), qrn(2665845);
        for (float& s : zaoyin) s = noise(random);
        for (float& s : qrn) s = noise(random) * noise(random);
        files_["voice"] = pcmWaveBytes(22050, 16, voice);
        files_["zaoyin"] = pcmWaveBytes(44100, 16, zaoyin);
        files_["qrn"] = pcmWaveBytes(44100, 8, qrn);
    }
    WaveLookup lookup() const {
        return [this](std::string_view name) -> std::optional<std::span<const std::uint8_t>> {
            auto it = files_.find(std::string(name));
            if (it == files_.end()) return std::nullopt;
            return std::span<const std::uint8_t>(it->second);
        };
    }

private:
    std::map<std::string, std::vector<std::uint8_t>> files_;
};

class Discard final : public FrameSink {
public:
    bool write(std::span<const float> mono) override {
        benchmark::DoNotOptimize(mono.data());
        return true;
    }
    bool close(std::string&) override { return true; }
};

// The practice's sound operations, in virtual time steps of 10 ms.
class Scene {
public:
    explicit Scene(SoundPlatform& platform) : device_(platform.openDefaultDevice()) {
        noise_ = device_->createBuffer(Bus::BandNoise, "zaoyin", kFlagsWithTone);
        noise_->setVolume(-2000);
        noise_->setFrequency(11025);
        noise_->play(true);
        qrn_ = device_->createBuffer(Bus::Static, "qrn", kFlagsWithTone);
        qrn_->play(true);
    }

    void step(std::int64_t ms) {
        if (ms % 1000 == 0) {
            clip_ = device_->createBuffer(Bus::Reader, "voice", kFlagsWithTone);
            clip_->setFxParamEq();
            eq_ = clip_->paramEqInPath(0);
            eq_->setAllParameters({2500, 36, 15});
            clip_->setVolume(0);
            clip_->setFrequency(22050);
            clip_->play(false);
        }
        if (ms % 1000 == 500) {
            qrm_ = device_->createBuffer(Bus::Interferer, "voice", kFlagsWithoutTone);
            qrm_->setVolume(-1200);
            qrm_->setFrequency(23000);
            qrm_->play(false);
        }
        const int phase = static_cast<int>(ms / 10 % 200);  // a 2 s ramp down and back up
        const int depth = phase < 100 ? phase : 200 - phase;
        noise_->setVolume(-500 - depth * 95);
        eq_->setAllParameters({static_cast<float>(80 + depth * 49), 36, 15});
    }

private:
    std::shared_ptr<SoundDevice> device_;
    std::shared_ptr<SoundBuffer> noise_, qrn_, clip_, qrm_;
    std::shared_ptr<ParamEq> eq_;
};

void BusyScene(benchmark::State& state) {
    static const SceneWaves waves;
    std::int64_t now = 0;
    auto sound = makeOfflineSound(48000, [&] { return now; }, std::make_unique<Discard>(), waves.lookup());
    Scene scene(sound->platform());
    scene.step(0);
    sound->renderUntilMs(2000);  // renditions made and cached before timing
    now = 2000;
    constexpr std::int64_t kSecondsPerIteration = 10;
    for (auto _ : state) {
        for (std::int64_t end = now + kSecondsPerIteration * 1000; now < end; now += 10) scene.step(now);
        sound->renderUntilMs(now);
    }
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kSecondsPerIteration), benchmark::Counter::kIsRate);
}
BENCHMARK(BusyScene)->Unit(benchmark::kMillisecond);

void Callback(benchmark::State& state) {
    static const SceneWaves waves;
    auto mixer = std::make_shared<Mixer>(LiveOutput::kSampleRate);
    auto engine = std::make_shared<Engine>(mixer, waves.lookup());
    // Not started: this thread is the audio thread, and no device is ever opened.
    LiveOutput output(mixer, portAudioDevice(LiveOutput::kSampleRate, LiveOutput::kFramesPerCallback));
    Scene scene(engine->platform());
    std::vector<float> out(2 * LiveOutput::kFramesPerCallback);
    constexpr int kCallbacksPerStep = 2;  // 10.7 ms of sound per 10 ms step: close enough
    std::int64_t ms = 0;
    for (auto _ : state) {
        scene.step(ms);  // the UI thread's share, not timed
        ms += 10;
        engine->beginOperation();
        // Timed by this thread's CPU clock, so the other programs on a shared machine
        // do not count.
        timespec start{}, end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        for (int i = 0; i < kCallbacksPerStep; ++i) output.fill(out.data(), LiveOutput::kFramesPerCallback);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        state.SetIterationTime(static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9);
    }
    const double seconds = static_cast<double>(state.iterations()) * kCallbacksPerStep *
                           LiveOutput::kFramesPerCallback / LiveOutput::kSampleRate;
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}
BENCHMARK(Callback)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Resampling one recording for one frequency, done once on first use (the UI thread,
// or a background thread for long recordings): args are the recording's length in
// ms, its rate and the playback frequency.
void Rendition(benchmark::State& state) {
    const auto ms = static_cast<std::size_t>(state.range(0));
    Wave wave;
    wave.sampleRate = static_cast<int>(state.range(1));
    wave.samples.resize(ms * static_cast<std::size_t>(wave.sampleRate) / 1000);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (float& s : wave.samples) s = noise(random);
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(makeRendition(wave, static_cast<int>(state.range(2)), 48000, error));
    }
}
BENCHMARK(Rendition)
    ->Args({600, 22050, 22050})   // a clip read by the reader
    ->Args({600, 22050, 23000})   // the same clip spoken by the interfering station
    ->Args({5000, 44100, 11025})  // the background noise, two octaves down
    ->Args({60450, 44100, 44100}) // the static crackle at its own rate
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaly

BENCHMARK_MAIN();
