// Plays known sounds through the live output (PortAudio, default device) and checks
// recordings of what came out. Driven by run-device-test.sh; every wait is bounded.
//
//   tessaly_device_probe play            a 1000 Hz tone of 800 ms, then exits
//   tessaly_device_probe lose SECONDS    keeps a loop playing and changing for SECONDS
//                                        after the device opens, while the sound
//                                        server is taken away under it
//   tessaly_device_probe silent          opens the output where there is no device
//   tessaly_device_probe check FILE      finds the tone in a recording
#include "engine/mixer.h"
#include "engine/sound_outputs.h"

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;

constexpr double kToneHz = 1000.0;
constexpr float kToneAmplitude = 0.5f;
constexpr int kToneMs = 800;

// The tone as a WAVE file in memory: 16-bit mono at 22050 Hz, like the spoken clips.
std::vector<std::uint8_t> toneWave() {
    const int rate = 22050, frames = rate * kToneMs / 1000;
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t v, int bytes) { for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i))); };
    auto text = [&](const char* s) { for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(s[i])); };
    text("RIFF"); put(36 + 2 * frames, 4); text("WAVE");
    text("fmt "); put(16, 4); put(1, 2); put(1, 2); put(rate, 4); put(2 * rate, 4); put(2, 2); put(16, 2);
    text("data"); put(2 * frames, 4);
    for (int i = 0; i < frames; ++i) {
        const double s = kToneAmplitude * std::sin(2 * std::numbers::pi * kToneHz * i / rate);
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * 32767))), 2);
    }
    return out;
}

WaveLookup toneLookup() {
    static const std::vector<std::uint8_t> tone = toneWave();
    return [](std::string_view name) -> std::optional<std::span<const std::uint8_t>> {
        if (name != "tone") return std::nullopt;
        return std::span<const std::uint8_t>(tone);
    };
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

int play() {
    const auto opened = Clock::now();
    auto live = openLiveSound(toneLookup());
    if (!live->waitForDevice(10000)) {
        std::fprintf(stderr, "probe: no device after %.2f s\n", secondsSince(opened));
        return 3;
    }
    std::printf("probe: device playing after %.3f s\n", secondsSince(opened));
    auto clip = live->platform().openDefaultDevice()->createBufferFromResource("tone", kFlagsWithTone);
    if (!clip || !clip->play(false)) return 4;
    const auto started = Clock::now();
    while (clip->getStatus() != 0) {
        if (secondsSince(started) > 5) {
            std::fprintf(stderr, "probe: the tone never ended\n");
            return 5;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double lasted = secondsSince(started);
    std::printf("probe: tone reported playing for %.3f s\n", lasted);
    // What the sound server still holds is lost when the stream closes: let it play.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return std::fabs(lasted - kToneMs / 1000.0) < 0.25 ? 0 : 6;
}

int lose(double seconds) {
    auto live = openLiveSound(toneLookup());
    if (!live->waitForDevice(10000)) {
        std::fprintf(stderr, "probe: no device to lose\n");
        return 3;
    }
    std::printf("probe: device playing\n");
    std::fflush(stdout);  // the script takes the server away once it reads this
    auto device = live->platform().openDefaultDevice();
    auto loop = device->createBufferFromResource("tone", kFlagsWithTone);
    loop->play(true);
    const auto start = Clock::now();
    for (int step = 0; secondsSince(start) < seconds; ++step) {
        // What a practice does every 10 ms, and a new clip every half second.
        loop->setVolume(step % 2 ? -600 : 0);
        if (step % 50 == 0) device->createBufferFromResource("tone", kFlagsWithTone)->play(false);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("probe: still running after %.1f s; device %s\n", secondsSince(start),
                live->usingDevice() ? "in use" : "gone");
    return 0;
}

int silent() {
    auto live = openLiveSound(toneLookup());
    const bool device = live->waitForDevice(10000);
    auto clip = live->platform().openDefaultDevice()->createBufferFromResource("tone", kFlagsWithTone);
    clip->play(false);
    const auto started = Clock::now();
    while (clip->getStatus() != 0 && secondsSince(started) < 5) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::printf("probe: %s; the tone ended after %.3f s\n", device ? "device" : "null output", secondsSince(started));
    return clip->getStatus() == 0 ? 0 : 5;
}

// The recording must hold the tone at its level, unbroken, for its whole length.
int check(const char* path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        std::fprintf(stderr, "probe: cannot read %s: %s\n", path, sf_strerror(nullptr));
        return 2;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    const int window = info.samplerate / 100;  // 10 ms
    int run = 0, longest = 0, firstWindow = -1;
    double sum = 0;
    for (sf_count_t w = 0; (w + 1) * window <= info.frames; ++w) {
        double c = 0, s = 0;
        for (int i = 0; i < window; ++i) {
            const double x = frames[static_cast<std::size_t>((w * window + i) * info.channels)];  // first channel
            const double phase = 2 * std::numbers::pi * kToneHz * static_cast<double>(i) / info.samplerate;
            c += x * std::cos(phase);
            s += x * std::sin(phase);
        }
        const double amplitude = 2 * std::hypot(c, s) / window;
        // The program's outputs leave headroom above the mix.
        const double heard = kToneAmplitude * std::pow(10.0, kOutputHeadroomDb / 20.0);
        if (amplitude > heard * 0.7 && amplitude < heard * 1.3) {
            if (firstWindow < 0) firstWindow = static_cast<int>(w);
            ++run;
            sum += amplitude;
            longest = std::max(longest, run);
        } else {
            run = 0;
        }
    }
    const double seconds = static_cast<double>(info.frames) / info.samplerate;
    std::printf("probe: %.2f s recorded; tone at %.2f s, unbroken for %d ms, mean amplitude %.3f\n", seconds,
                firstWindow / 100.0, longest * 10, longest ? sum / longest : 0.0);
    // Allow the first and last 10 ms windows to straddle the tone's edges.
    return longest * 10 >= kToneMs - 30 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "play") return play();
    if (mode == "lose" && argc > 2) return lose(std::atof(argv[2]));
    if (mode == "silent") return silent();
    if (mode == "check" && argc > 2) return check(argv[2]);
    std::fprintf(stderr, "usage: %s play | lose SECONDS | silent | check FILE\n", argv[0]);
    return 2;
}
