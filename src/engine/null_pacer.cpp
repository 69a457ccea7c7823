#include "engine/null_pacer.h"

#include <algorithm>
#include <cstdint>

namespace tessaly {
namespace {

// Wakes this often: the mixer's time moves in 10 ms steps, finer than any practice
// timer needs, and the thread costs next to nothing.
constexpr auto kStep = std::chrono::milliseconds(10);

}  // namespace

void NullPacer::start(Clock::time_point from) {
    if (running()) return;
    stop_ = false;
    thread_ = std::thread([this, from] { run(from); });
}

NullPacer::Clock::time_point NullPacer::stop() {
    if (!running()) return Clock::now();
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    gate_.release();
    thread_.join();
    return reached_;  // written by the thread before it ended: the join orders it
}

void NullPacer::run(Clock::time_point from) {
    float block[Mixer::kBlockFrames];
    const int rate = mixer_.outputRate();
    std::uint64_t rendered = 0;  // frames since `from`
    std::unique_lock lock(mutex_);
    while (!stop_) {
        lock.unlock();
        // Frames due from the steady clock, so the pace does not drift with scheduling.
        const auto now = Clock::now();
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - from).count();
        const auto due = static_cast<std::uint64_t>(std::max<std::int64_t>(elapsed, 0)) * rate / 1000000;
        if (rendered < due) frames_.publish(mixer_.framesRendered(), now);
        const std::uint64_t before = rendered;
        while (rendered < due) {
            const auto n = std::min<std::uint64_t>(due - rendered, Mixer::kBlockFrames);
            mixer_.render(block, static_cast<std::size_t>(n));
            rendered += n;
        }
        if (gate_.quietLongEnough(mixer_, static_cast<std::int64_t>(rendered - before)) && gate_.enter(mixer_)) {
            lock.lock();
            if (stop_) gate_.release();  // stop() may have come before the rest began
            lock.unlock();
            gate_.waitWhileResting();
            // Woken by a command or by stop(): on from the frame the clock has reached.
            from = Clock::now();
            rendered = 0;
            RestGate::catchUp(mixer_, frames_, from);
            frames_.publish(mixer_.framesRendered(), from);
            lock.lock();
            continue;
        }
        lock.lock();
        wake_.wait_until(lock, now + kStep, [this] { return stop_; });
    }
    reached_ = from + std::chrono::microseconds(rendered * 1000000 / static_cast<std::uint64_t>(rate));
}

}  // namespace tessaly
