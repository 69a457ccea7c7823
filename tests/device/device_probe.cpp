// Plays known sounds through the live output (PortAudio, default device) and checks
// recordings of what came out, for run-device-test.sh. Modes: play (an 800 ms 1000 Hz
// tone), follow STOPFILE (a practice-like loop until STOPFILE exists, reporting the
// output's changes), silent (no device), check FILE [MIN_MS [GAP_MS]] (the tone in a
// recording, unbroken for MIN_MS or with dropouts of GAP_MS at most).
#include "engine/mixer.h"
#include "engine/sound_outputs.h"
#include "sound/wave_bytes.h"

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
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
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[static_cast<std::size_t>(i)] = static_cast<float>(kToneAmplitude * std::sin(2 * std::numbers::pi * kToneHz * i / rate));
    return pcmWaveBytes(rate, 16, samples);
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
    auto clip = live->platform().openDefaultDevice()->createBuffer(Bus::Reader, "tone", kFlagsWithTone);
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

double wallClock() {  // seconds since the epoch, to line up with the script's `date +%s.%N`
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// A practice-like sound until STOPFILE exists (60 s at most), whether or not there is a
// device: a loop at a steady level, changed every 10 ms as a practice does, and a quiet
// clip at twice the pitch every half second (it leaves the loop's 1000 Hz windows
// alone). Every change of the output's state is reported with the wall-clock time.
int follow(const char* stopFile) {
    auto live = openLiveSound(toneLookup());
    auto device = live->platform().openDefaultDevice();
    auto loop = device->createBuffer(Bus::Reader, "tone", kFlagsWithTone);
    if (!loop || !loop->play(true)) return 4;
    const auto start = Clock::now();
    std::uint64_t seen = 0;
    int losses = 0, returns = 0;
    bool played = false;
    for (int step = 0; !std::filesystem::exists(stopFile); ++step) {
        if (secondsSince(start) > 60) {
            std::fprintf(stderr, "probe: never told to stop\n");
            return 5;
        }
        const SoundStatus status = live->status();
        if (status.changes != seen) {
            seen = status.changes;
            if (status.state == SoundState::Device) {
                returns += played;
                played = true;
                std::printf("probe: device playing at %.3f\n", wallClock());
            } else if (status.state == SoundState::Silent) {
                losses += played;
                std::printf("probe: no device at %.3f\n", wallClock());
            }
            std::fflush(stdout);  // the script acts on these lines
        }
        loop->setVolume(0);
        if (step % 50 == 0) {
            auto clip = device->createBuffer(Bus::Reader, "tone", kFlagsWithTone);
            clip->setVolume(-2000);
            clip->setFrequency(44100);
            clip->play(false);  // plays to its end when dropped
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("probe: %d losses, %d returns; device %s\n", losses, returns, live->usingDevice() ? "in use" : "gone");
    return 0;
}

int silent() {
    auto live = openLiveSound(toneLookup());
    const bool device = live->waitForDevice(10000);
    auto clip = live->platform().openDefaultDevice()->createBuffer(Bus::Reader, "tone", kFlagsWithTone);
    clip->play(false);
    const auto started = Clock::now();
    while (clip->getStatus() != 0 && secondsSince(started) < 5) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::printf("probe: %s; the tone ended after %.3f s\n", device ? "device" : "null output", secondsSince(started));
    return clip->getStatus() == 0 ? 0 : 5;
}

// The 1000 Hz tone's amplitude in each 10 ms window of a recording's first channel.
bool toneLevels(const char* path, std::vector<double>& levels, double& seconds) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        std::fprintf(stderr, "probe: cannot read %s: %s\n", path, sf_strerror(nullptr));
        return false;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    const int window = info.samplerate / 100;
    for (sf_count_t w = 0; (w + 1) * window <= info.frames; ++w) {
        double c = 0, s = 0;
        for (int i = 0; i < window; ++i) {
            const double x = frames[static_cast<std::size_t>((w * window + i) * info.channels)];
            const double phase = 2 * std::numbers::pi * kToneHz * static_cast<double>(i) / info.samplerate;
            c += x * std::cos(phase);
            s += x * std::sin(phase);
        }
        levels.push_back(2 * std::hypot(c, s) / window);
    }
    seconds = static_cast<double>(info.frames) / info.samplerate;
    return true;
}

// The recording must hold the tone at its level for minMs from where it first does,
// unbroken, or with gapMs, broken only by dropouts of at most gapMs each and 10 % of
// the stretch in all: a private sound server on a loaded machine breaks up now and
// then, which says nothing about the program. Prints where the stretch begins, in
// seconds from the start of the file.
int check(const char* path, int minMs, int gapMs) {
    std::vector<double> levels;
    double seconds = 0;
    if (!toneLevels(path, levels, seconds)) return 2;
    // The program's outputs leave headroom above the mix.
    const double heard = kToneAmplitude * std::pow(10.0, kOutputHeadroomDb / 20.0);
    auto atLevel = [&](std::size_t w) { return levels[w] > heard * 0.7 && levels[w] < heard * 1.3; };
    const std::size_t span = static_cast<std::size_t>(minMs / 10), maxGap = static_cast<std::size_t>(gapMs / 10);
    const std::size_t maxMissing = maxGap ? span / 10 : 0;
    for (std::size_t from = 0; from + span <= levels.size(); ++from) {
        if (!atLevel(from)) continue;
        std::size_t missing = 0, gap = 0, longestGap = 0;
        double sum = 0;
        for (std::size_t w = from; w < from + span && missing <= maxMissing && longestGap <= maxGap; ++w) {
            gap = atLevel(w) ? 0 : gap + 1;
            missing += gap > 0;
            longestGap = std::max(longestGap, gap);
            sum += levels[w];
        }
        if (missing <= maxMissing && longestGap <= maxGap) {
            std::printf("probe: %.2f s recorded; tone at %.2f s, at its level for %zu of %d ms (longest dropout "
                        "%zu ms), mean amplitude %.3f (%.3f expected)\n",
                        seconds, static_cast<double>(from) / 100, (span - missing) * 10, minMs, longestGap * 10,
                        sum / static_cast<double>(span), heard);
            return 0;
        }
    }
    std::printf("probe: %.2f s recorded; no %d ms of the tone at its level (%.3f)\n", seconds, minMs, heard);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "play") return play();
    if (mode == "follow" && argc > 2) return follow(argv[2]);
    if (mode == "silent") return silent();
    // Allow the first and last 10 ms windows to straddle the tone's edges.
    if (mode == "check" && argc > 2) {
        return check(argv[2], argc > 3 ? std::atoi(argv[3]) : kToneMs - 30, argc > 4 ? std::atoi(argv[4]) : 0);
    }
    std::fprintf(stderr, "usage: %s play | follow STOPFILE | silent | check FILE [MIN_MS [GAP_MS]]\n", argv[0]);
    return 2;
}
