#pragma once
// The real-time output: the system's default device, or, while there is none or after
// it went away, the null output, which keeps the mixer's clock running (clips still
// end on time, loops still move on).
//
// A worker thread owns the device (audio_device.h): it starts the audio library
// (70-85 ms, kept off the UI thread so the window paints at once), opens a stream,
// watches it, and hands the mixer to the null output (null_pacer.h) when the stream
// fails or cannot be opened. It then tries the device again every second; when one
// opens, the stream takes over the mixer where the null output left it, so the
// voices and loops that are playing carry on. The mixer accepts commands from the
// first moment; they wait in its queue until rendering starts.
#include "engine/audio_device.h"
#include "engine/engine.h"
#include "engine/frame_pace.h"
#include "engine/null_pacer.h"
#include "engine/rest_gate.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tessaly {

// How the live output paces its watching and retrying (tests make these short).
struct LiveOutputTiming {
    // Between attempts to open the device while silent: sound returns within about
    // this long of a device appearing. A failed attempt costs about 30 ms of CPU.
    std::chrono::milliseconds retry{1000};
    std::chrono::milliseconds watch{100};  // how often a playing stream is checked
    // A stream that stops calling back for this long is taken as gone (unplugged
    // card, sound server stopped). A suspended machine does not count: the steady
    // clock stops too.
    std::chrono::milliseconds stall{2000};
    // Nothing sounding for this long, the output rests (rest_gate.h): the stream
    // stops, nothing renders and the device is not tried again until the next sound.
    std::chrono::milliseconds rest{3000};
};

class LiveOutput final : public Output, public StreamSource, public std::enable_shared_from_this<LiveOutput> {
public:
    static constexpr int kSampleRate = 48000;       // frames per second
    static constexpr int kFramesPerCallback = 256;  // 5.3 ms; steady with both cores loaded

    using Timing = LiveOutputTiming;
    // One line for the user, called on the worker thread; the default writes it to
    // standard error after "tessaly: ".
    using Notice = std::function<void(const std::string&)>;

    LiveOutput(std::shared_ptr<Mixer> mixer, std::unique_ptr<AudioDevice> device, Timing timing = {},
               Notice notice = {});
    ~LiveOutput() override;
    void start();  // starts the worker (it holds a reference to this object)
    bool stop() override;

    // Lock-free, any thread.
    SoundStatus status() const;
    bool usingDevice() const { return status().state == SoundState::Device; }
    // Waits at most timeoutMs until the state is no longer Starting; true when the
    // device plays.
    bool waitUntilSettled(int timeoutMs);
    // Waits at most timeoutMs until the change count differs from `seen`.
    SoundStatus waitForChange(std::uint64_t seen, int timeoutMs);

    // The stream's work: `frames` frames of the mix, one copy per channel.
    void fill(float* out, unsigned long frames, bool underflowed = false) override;
    // How many times the device played a gap because the sound came too late.
    std::uint64_t underflows() const { return underflows_.load(std::memory_order_relaxed); }

    // Which frame the mixer renders when: published by whichever thread renders.
    const FrameClock& frameClock() const { return frameClock_; }
    // UI thread: from now on operations are stamped by this pace (until then they
    // take effect at the next frame rendered).
    void stampBy(std::shared_ptr<FramePace> pace) { pace_ = std::move(pace); }
    std::int64_t stampFrame() override { return pace_ ? pace_->stampNow() : 0; }
    void commandQueued() override { gate_.commandQueued(); }
    // Nothing renders now and the stream, if any, is stopped (any thread).
    bool resting() const { return gate_.resting(); }

private:
    using Clock = std::chrono::steady_clock;
    enum class Ending { Stopped, Failed, Lost, Rest };  // why a stream stopped playing
    struct Watch {
        Ending ending;
        Clock::time_point beaten;  // when the stream was last seen calling back
    };

    void run();
    Watch watchStream(std::uint64_t beatsBeforeStart);
    void goSilent(const std::string& reason, Clock::time_point from);
    void setState(SoundState state);
    bool waitForStop(std::chrono::milliseconds limit);  // true: stop() was called
    bool stopping();
    // Between attempts at the device: the retry time, and while the output rests, until
    // a sound is coming. True: stop() was called.
    bool waitBeforeRetry();

    std::shared_ptr<Mixer> mixer_;
    std::unique_ptr<AudioDevice> device_;  // worker only
    const Timing timing_;
    const Notice notice_;
    FrameClock frameClock_;
    RestGate gate_;
    NullPacer pacer_;            // started and stopped by the worker only
    bool silenceSaid_ = false;   // worker only: the user was told there is no sound
    std::thread worker_;
    std::mutex mutex_;  // guards stop_ and done_; never taken by the stream's thread
    std::condition_variable changed_;
    bool stop_ = false;
    bool done_ = false;
    // (changes << 2) | state: one word, so that a reader sees the two together.
    std::atomic<std::uint64_t> status_{static_cast<std::uint64_t>(SoundState::Starting)};

    // Worker and stream: set before the stream starts, read by its thread.
    int channels_ = 2;
    std::atomic<std::uint64_t> callbacks_{0};  // heartbeat, counted by the stream's thread
    std::atomic<std::uint64_t> underflows_{0};
    std::atomic<bool> restWanted_{false};      // the stream found the mixer quiet long enough
    bool resumed_ = false;                     // the stream's first render catches the frame clock up
    float mono_[Mixer::kBlockFrames] = {};     // the stream's thread only

    std::shared_ptr<FramePace> pace_;  // UI thread only
};

}  // namespace tessaly
