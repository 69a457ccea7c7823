#include "speech/engine/live_output.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {
namespace {

// A stream that stops calling back for this long is taken as gone (unplugged card,
// sound server killed). A suspended machine does not count: the steady clock stops too.
constexpr auto kStallLimit = std::chrono::seconds(2);
constexpr auto kWatchInterval = std::chrono::milliseconds(100);
constexpr auto kStopLimit = std::chrono::seconds(3);

// Said once per program, however many outputs are opened.
void sayRunningSilently(const std::string& reason) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) std::fprintf(stderr, "tessaly: no sound (%s); running silently\n", reason.c_str());
}

}  // namespace

LiveOutput::LiveOutput(std::shared_ptr<Mixer> mixer, std::unique_ptr<AudioDevice> device)
    : mixer_(std::move(mixer)), device_(std::move(device)), pacer_(*mixer_) {}

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

void LiveOutput::waitForStop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stop_; });
}

// Exactly one thread renders the mixer at any time. The null output's thread is
// joined before the stream starts, and the stream's thread is joined (close) before
// the null output starts again; each join orders the last render before the next.
void LiveOutput::run() {
    std::string reason;
    auto resumeFrom = Clock::now();
    if (device_->open(*this, reason)) {
        channels_ = device_->channels();
        if (device_->start(reason)) {
            setState(State::Device);
            const Watch watch = watchStream();
            device_->close(watch.lost);
            if (watch.lost) reason = "the sound device went away";
            resumeFrom = watch.beaten;
        } else {
            device_->close(true);
        }
    } else {
        device_->close(true);
    }
    if (!stopRequested()) {
        sayRunningSilently(reason);
        pacer_.start(resumeFrom);
        setState(State::Silent);
        waitForStop();
        pacer_.stop();
    }
    std::lock_guard lock(mutex_);
    done_ = true;
    changed_.notify_all();
}

LiveOutput::Watch LiveOutput::watchStream() {
    std::uint64_t seen = callbacks_.load(std::memory_order_relaxed);
    auto beaten = Clock::now();
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, kWatchInterval, [this] { return stop_; })) {
        lock.unlock();
        const auto now = Clock::now();
        const std::uint64_t beats = callbacks_.load(std::memory_order_relaxed);
        if (beats != seen) {
            seen = beats;
            beaten = now;
        }
        if (!device_->active() || now - beaten > kStallLimit) return {true, beaten};
        lock.lock();
    }
    return {false, beaten};
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
