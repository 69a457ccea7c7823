#include "engine/live_output.h"

#include "engine/quiet_audio.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace tessaly {
namespace {

using Clock = std::chrono::steady_clock;

// A stream that stops calling back for this long is taken as gone (unplugged card,
// sound server killed). A suspended machine does not count: the steady clock stops too.
constexpr auto kStallLimit = std::chrono::seconds(2);
constexpr auto kWatchInterval = std::chrono::milliseconds(100);
constexpr auto kSilentStep = std::chrono::milliseconds(10);
constexpr auto kStopLimit = std::chrono::seconds(3);

int audioCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                  PaStreamCallbackFlags, void* user) {
    static_cast<LiveOutput*>(user)->fill(static_cast<float*>(output), frames);
    return paContinue;
}

// Said once per program, however many outputs are opened.
void sayRunningSilently(const std::string& reason) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) std::fprintf(stderr, "tessaly: no sound (%s); running silently\n", reason.c_str());
}

}  // namespace

LiveOutput::LiveOutput(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

LiveOutput::~LiveOutput() {
    if (worker_.joinable()) worker_.detach();  // only when stop() was never called
}

void LiveOutput::start() {
    worker_ = std::thread([self = shared_from_this()] { self->run(); });
}

bool LiveOutput::stop() {
    if (!worker_.joinable()) return true;
    std::unique_lock lock(mutex_);
    stop_ = true;
    changed_.notify_all();
    const bool done = changed_.wait_for(lock, kStopLimit, [this] { return done_; });
    lock.unlock();
    if (done) {
        worker_.join();
    } else {
        worker_.detach();  // it holds its own reference; the program must not hang on it
    }
    return done;
}

bool LiveOutput::waitUntilSettled(int timeoutMs) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [this] { return state_.load() != State::Opening || done_; });
    return usingDevice();
}

void LiveOutput::setState(State state) {
    std::lock_guard lock(mutex_);
    state_.store(state, std::memory_order_release);
    changed_.notify_all();
}

bool LiveOutput::stopRequested() {
    std::lock_guard lock(mutex_);
    return stop_;
}

void LiveOutput::run() {
    std::string reason;
    if (openDevice(reason)) {
        setState(State::Device);
        if (deviceLost()) {
            closeDevice(true);
            reason = "the sound device went away";
        } else {
            closeDevice(false);
        }
    } else {
        closeDevice(true);
    }
    if (!stopRequested()) {
        sayRunningSilently(reason);
        setState(State::Silent);
        renderSilently();
    }
    if (initialised_) Pa_Terminate();
    std::lock_guard lock(mutex_);
    done_ = true;
    changed_.notify_all();
}

bool LiveOutput::openDevice(std::string& reason) {
    quietAudioLibraries();  // before Pa_Initialize: ALSA and JACK print ~100 lines without a card
    PaError error = Pa_Initialize();
    if (error != paNoError) {
        reason = Pa_GetErrorText(error);
        return false;
    }
    initialised_ = true;
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (!info || info->maxOutputChannels < 1) {
        reason = "no output device";
        return false;
    }
    // Two channels where possible: sound cards rarely take mono directly.
    channels_ = std::min(info->maxOutputChannels, 2);
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = channels_;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = std::max(info->defaultLowOutputLatency, kLatencySeconds);
    PaStream* stream = nullptr;
    error = Pa_OpenStream(&stream, nullptr, &parameters, kSampleRate, kFramesPerCallback, paClipOff,
                          &audioCallback, this);
    if (error != paNoError) {
        reason = Pa_GetErrorText(error);
        return false;
    }
    stream_ = stream;
    // From here the callback is the only thread that renders (Pa_StartStream starts
    // its thread, which orders it after everything this thread did).
    error = Pa_StartStream(stream);
    if (error != paNoError) {
        reason = Pa_GetErrorText(error);
        return false;
    }
    return true;
}

bool LiveOutput::deviceLost() {
    std::uint64_t seen = callbacks_.load(std::memory_order_relaxed);
    auto lastBeat = Clock::now();
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, kWatchInterval, [this] { return stop_; })) {
        lock.unlock();
        if (Pa_IsStreamActive(static_cast<PaStream*>(stream_)) != 1) return true;
        const std::uint64_t beats = callbacks_.load(std::memory_order_relaxed);
        if (beats != seen) {
            seen = beats;
            lastBeat = Clock::now();
        } else if (Clock::now() - lastBeat > kStallLimit) {
            return true;
        }
        lock.lock();
    }
    return false;
}

void LiveOutput::closeDevice(bool abort) {
    if (!stream_) return;
    auto* stream = static_cast<PaStream*>(stream_);
    // Both join the callback's thread, so this thread may render after them.
    if (abort) {
        Pa_AbortStream(stream);
    } else {
        Pa_StopStream(stream);
    }
    Pa_CloseStream(stream);
    stream_ = nullptr;
}

void LiveOutput::renderSilently() {
    std::vector<float> block(static_cast<std::size_t>(Mixer::kBlockFrames));
    const auto start = Clock::now();
    std::uint64_t rendered = 0;
    std::unique_lock lock(mutex_);
    for (auto next = start; !stop_; ) {
        lock.unlock();
        // Frames due from the steady clock, so the pace does not drift with scheduling.
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        const auto due = static_cast<std::uint64_t>(elapsed) * kSampleRate / 1000000;
        while (rendered < due) {
            const auto n = std::min<std::uint64_t>(due - rendered, block.size());
            mixer_->render(block.data(), static_cast<std::size_t>(n));
            rendered += n;
        }
        next += kSilentStep;
        lock.lock();
        changed_.wait_until(lock, next, [this] { return stop_; });
    }
}

void LiveOutput::fill(float* out, unsigned long frames) {
    if (channels_ == 1) {
        mixer_->render(out, frames);
    } else {
        while (frames > 0) {
            const auto n = std::min<unsigned long>(frames, Mixer::kBlockFrames);
            mixer_->render(mono_, n);
            for (unsigned long i = 0; i < n; ++i) out[2 * i] = out[2 * i + 1] = mono_[i];
            out += 2 * n;
            frames -= n;
        }
    }
    callbacks_.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace tessaly
