#pragma once
// The real-time output: the system's default device through PortAudio, or, when there
// is none or it goes away, a silent null output that keeps the mixer's clock running
// (clips still end on time, loops still move on).
//
// A worker thread owns everything PortAudio: it initialises the library (70-85 ms,
// kept off the UI thread so the window paints at once), opens one stream for the
// program's life (stopping a stream drops what the sound server still holds), watches
// it, and renders the null output itself when needed. The mixer accepts commands from
// the first moment; they wait in its queue until rendering starts.
#include "engine/engine.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tessaly {

class LiveOutput final : public Output, public std::enable_shared_from_this<LiveOutput> {
public:
    static constexpr int kSampleRate = 48000;        // frames per second
    static constexpr int kFramesPerCallback = 256;   // 5.3 ms; steady with both cores loaded
    static constexpr double kLatencySeconds = 0.020;  // below 5 ms the sound breaks up

    explicit LiveOutput(std::shared_ptr<Mixer> mixer);
    ~LiveOutput() override;
    void start();  // starts the worker (it holds a reference to this object)
    bool stop() override;

    bool usingDevice() const { return state_.load(std::memory_order_acquire) == State::Device; }
    // Waits at most timeoutMs until the device is playing or the null output runs.
    bool waitUntilSettled(int timeoutMs);

    // The audio callback's work: `frames` frames of the mix, one copy per channel.
    void fill(float* out, unsigned long frames);

private:
    enum class State { Opening, Device, Silent };

    void run();
    bool openDevice(std::string& reason);
    bool deviceLost();  // watches the stream until stop() (false) or the device fails (true)
    void closeDevice(bool abort);
    void renderSilently();
    void setState(State state);
    bool stopRequested();

    std::shared_ptr<Mixer> mixer_;
    std::thread worker_;
    std::mutex mutex_;  // guards stop_ and done_; never taken by the audio callback
    std::condition_variable changed_;
    bool stop_ = false;
    bool done_ = false;
    std::atomic<State> state_{State::Opening};

    // Worker and callback only.
    void* stream_ = nullptr;  // PaStream
    bool initialised_ = false;
    int channels_ = 2;
    std::atomic<std::uint64_t> callbacks_{0};  // heartbeat, counted by the callback
    float mono_[Mixer::kBlockFrames] = {};
};

}  // namespace tessaly
