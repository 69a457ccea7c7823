#pragma once
// The real-time output: the system's default device, or, when there is none or it
// goes away, the null output, which keeps the mixer's clock running (clips still end
// on time, loops still move on).
//
// A worker thread owns the device (audio_device.h): it starts the audio library
// (70-85 ms, kept off the UI thread so the window paints at once), opens one stream
// (stopping a stream drops what the sound server still holds), watches it, and hands
// the mixer to the null output (null_pacer.h) when needed. The mixer accepts
// commands from the first moment; they wait in its queue until rendering starts.
#include "speech/engine/audio_device.h"
#include "speech/engine/engine.h"
#include "speech/engine/null_pacer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tessaly {

class LiveOutput final : public Output, public StreamSource, public std::enable_shared_from_this<LiveOutput> {
public:
    static constexpr int kSampleRate = 48000;       // frames per second
    static constexpr int kFramesPerCallback = 256;  // 5.3 ms; steady with both cores loaded

    LiveOutput(std::shared_ptr<Mixer> mixer, std::unique_ptr<AudioDevice> device);
    ~LiveOutput() override;
    void start();  // starts the worker (it holds a reference to this object)
    bool stop() override;

    bool usingDevice() const { return state_.load(std::memory_order_acquire) == State::Device; }
    // Waits at most timeoutMs until the device is playing or the null output runs.
    bool waitUntilSettled(int timeoutMs);

    // The stream's work: `frames` frames of the mix, one copy per channel.
    void fill(float* out, unsigned long frames) override;

private:
    using Clock = std::chrono::steady_clock;
    enum class State { Opening, Device, Silent };
    struct Watch {
        bool lost;                 // false: stop() was called
        Clock::time_point beaten;  // when the stream was last seen calling back
    };

    void run();
    Watch watchStream();
    void setState(State state);
    bool stopRequested();
    void waitForStop();

    std::shared_ptr<Mixer> mixer_;
    std::unique_ptr<AudioDevice> device_;  // worker only
    NullPacer pacer_;                      // started and stopped by the worker only
    std::thread worker_;
    std::mutex mutex_;  // guards stop_ and done_; never taken by the stream's thread
    std::condition_variable changed_;
    bool stop_ = false;
    bool done_ = false;
    std::atomic<State> state_{State::Opening};

    // Worker and stream: set before the stream starts, read by its thread.
    int channels_ = 2;
    std::atomic<std::uint64_t> callbacks_{0};  // heartbeat, counted by the stream's thread
    float mono_[Mixer::kBlockFrames] = {};     // the stream's thread only
};

}  // namespace tessaly
