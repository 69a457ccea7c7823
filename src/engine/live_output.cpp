#include "engine/live_output.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {
namespace {

constexpr auto kStopLimit = std::chrono::seconds(3);
constexpr std::uint64_t kStateBits = 2;
constexpr std::uint64_t kStateMask = (1u << kStateBits) - 1;

void toStandardError(const std::string& line) { std::fprintf(stderr, "tessaly: %s\n", line.c_str()); }

}  // namespace

LiveOutput::LiveOutput(std::shared_ptr<Mixer> mixer, std::unique_ptr<AudioDevice> device, Timing timing,
                       Notice notice)
    : mixer_(std::move(mixer)), device_(std::move(device)), timing_(timing),
      notice_(notice ? std::move(notice) : Notice(&toStandardError)), gate_(static_cast<std::int64_t>(timing.rest.count()) * kSampleRate / 1000),
      pacer_(*mixer_, frameClock_, gate_) {}

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
    gate_.release();
    const bool done = changed_.wait_for(lock, kStopLimit, [this] { return done_; });
    lock.unlock();
    if (done) {
        worker_.join();
    } else {
        worker_.detach();  // it holds its own reference; the program must not hang on it
    }
    return done;
}

SoundStatus LiveOutput::status() const {
    const std::uint64_t word = status_.load(std::memory_order_acquire);
    return {static_cast<SoundState>(word & kStateMask), word >> kStateBits};
}

bool LiveOutput::waitUntilSettled(int timeoutMs) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [this] { return status().state != SoundState::Starting || done_; });
    return usingDevice();
}

SoundStatus LiveOutput::waitForChange(std::uint64_t seen, int timeoutMs) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [this, seen] { return status().changes != seen || done_; });
    return status();
}

void LiveOutput::setState(SoundState state) {
    std::lock_guard lock(mutex_);
    const SoundStatus now = status();  // only this thread writes it
    if (now.state == state) return;
    status_.store(((now.changes + 1) << kStateBits) | static_cast<std::uint64_t>(state), std::memory_order_release);
    changed_.notify_all();
}

bool LiveOutput::waitForStop(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return stop_; });
}

bool LiveOutput::stopping() {
    std::lock_guard lock(mutex_);
    return stop_;
}

bool LiveOutput::waitBeforeRetry() {
    if (waitForStop(timing_.retry)) return true;
    // Each attempt costs the CPU about 30 ms: at rest, none until a sound is coming.
    while (gate_.resting()) gate_.waitWhileResting();
    return stopping();
}

// Exactly one thread renders the mixer at any time; the worker hands it over.
//  - null output to stream: the stream is opened but not started; the null output's
//    thread is stopped and joined (its last render happens before the join returns);
//    only then is the stream started (its thread runs after the start call).
//  - stream to null output: close() returns once the stream's thread has ended
//    (PortAudio joins it); only then does the null output's thread start.
// The mixer's state simply carries on from one to the other.
void LiveOutput::run() {
    for (;;) {
        std::string reason;
        if (device_->open(*this, reason)) {
            channels_ = device_->channels();
            resumed_ = gate_.resting();  // the null output rested: the stream catches up
            Clock::time_point reached = pacer_.stop();
            std::uint64_t beats = callbacks_.load(std::memory_order_relaxed);  // before any callback
            bool started = device_->start(reason);
            Watch watch{Ending::Failed, reached};
            while (started) {
                watch = watchStream(beats);
                if (watch.ending != Ending::Rest) break;
                // Quiet long enough: the stream stops (its thread joined) and nothing
                // renders until a command comes; then the stream starts again and its
                // first render catches the frame clock up.
                device_->pause();
                restWanted_.store(false, std::memory_order_relaxed);
                if (gate_.enter(*mixer_)) {
                    if (stopping()) gate_.release();  // stop() may have come before the rest began
                    gate_.waitWhileResting();
                }
                if (stopping()) {
                    watch.ending = Ending::Stopped;
                    break;
                }
                resumed_ = true;
                beats = callbacks_.load(std::memory_order_relaxed);
                started = device_->start(reason);
                if (!started) {
                    resumed_ = false;
                    reached = Clock::now();
                    RestGate::catchUp(*mixer_, frameClock_, reached);
                }
            }
            if (started) {
                device_->close(watch.ending != Ending::Stopped);
                if (watch.ending == Ending::Stopped) break;
                // The null output makes up the time the stream did not render.
                if (watch.ending == Ending::Lost) {
                    goSilent("the sound device went away", watch.beaten);
                } else {
                    goSilent("the sound device did not start", reached);
                }
            } else {
                device_->close(true);
                goSilent(reason, reached);
            }
        } else {
            device_->close(true);
            goSilent(reason, Clock::now());  // goes on where it is if running
        }
        if (waitBeforeRetry()) break;
    }
    pacer_.stop();
    std::lock_guard lock(mutex_);
    done_ = true;
    changed_.notify_all();
}

void LiveOutput::goSilent(const std::string& reason, Clock::time_point from) {
    pacer_.start(from);
    if (!silenceSaid_) notice_("no sound (" + reason + "); running silently");
    silenceSaid_ = true;
    setState(SoundState::Silent);
}

// The stream counts as playing from its first callback: only then is the device
// announced, so a stream that opens but never plays says nothing.
LiveOutput::Watch LiveOutput::watchStream(std::uint64_t seen) {
    auto beaten = Clock::now();
    bool playing = false;
    // Checked often until it plays, so that waitUntilSettled answers soon after.
    const auto firstWatch = std::min<std::chrono::milliseconds>(timing_.watch, std::chrono::milliseconds(5));
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, playing ? timing_.watch : firstWatch, [this] { return stop_; })) {
        lock.unlock();
        const auto now = Clock::now();
        const std::uint64_t beats = callbacks_.load(std::memory_order_relaxed);
        if (beats != seen) {
            seen = beats;
            beaten = now;
            if (!playing) {
                playing = true;
                if (silenceSaid_) notice_("sound is back");
                silenceSaid_ = false;
                setState(SoundState::Device);
            }
        }
        if (!device_->active() || now - beaten > timing_.stall) {
            return {playing ? Ending::Lost : Ending::Failed, beaten};
        }
        if (restWanted_.load(std::memory_order_relaxed)) return {Ending::Rest, beaten};
        lock.lock();
    }
    return {Ending::Stopped, beaten};
}

void LiveOutput::fill(float* out, unsigned long frames, bool underflowed) {
    if (underflowed) underflows_.fetch_add(1, std::memory_order_relaxed);
    const auto now = std::chrono::steady_clock::now();
    if (resumed_) RestGate::catchUp(*mixer_, frameClock_, now);
    resumed_ = false;
    frameClock_.publish(mixer_->framesRendered(), now);
    const auto total = static_cast<std::int64_t>(frames);
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
    restWanted_.store(gate_.quietLongEnough(*mixer_, total), std::memory_order_relaxed);
    callbacks_.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace tessaly
