#pragma once
// The mixer: the one place that turns buffer state into samples, for every output.
//
// Two threads meet here. The UI thread (the producer) only calls send() and
// takeFinished(); whichever thread renders (the audio callback, the null output's
// pacing thread, or the UI thread itself when rendering offline) only calls
// render(), and only one thread renders at a time. render() never allocates,
// locks or waits: commands arrive through a lock-free queue and voices that are done
// go back to the UI thread through another, to be freed there.
#include "engine/channel_stage.h"
#include "engine/spsc_queue.h"
#include "engine/voice.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tessaly {

// Room the program's outputs leave above the mix, in dB. The reader's tone boost
// adds up to +15 dB to clips recorded with peaks near full scale, and the noises and
// the interfering station add to that: without this the voice would clip hard.
constexpr float kOutputHeadroomDb = -14.0f;

class Mixer {
public:
    static constexpr int kMaxVoices = 256;   // buffers alive at once, sounding or not
    static constexpr int kBlockFrames = 256;  // internal block; render() takes any count

    // outputGainDb scales the finished mix, before it is clipped to [-1, 1].
    explicit Mixer(int outputRate, float outputGainDb = 0.0f);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    int outputRate() const { return rate_; }

    // --- UI thread ---
    // False when the queue is full; the caller keeps the command for later.
    bool send(const Command& command) { return commands_.push(command); }
    // A voice the mixer no longer uses (its buffer was released and it has played
    // out), or null. The caller frees it.
    Voice* takeFinished();

    // --- rendering thread ---
    // Renders the next `frames` mono frames into `out` (out may be null when frames
    // is 0): the voices summed in float through the channel stage and clipped to
    // [-1, 1]. Each command takes effect on the frame it is stamped with: the block
    // is split there, so a clip starts on its exact frame; a command stamped for a
    // frame already rendered takes effect at once (counted as late).
    void render(float* out, std::size_t frames);
    // Frames rendered since the mixer was made: the frame clock commands are stamped on.
    std::int64_t framesRendered() const { return frame_; }
    // Nothing can sound: no command waits and no playing voice has frames (a loop at
    // silence plays without them).
    bool quiet();
    // Moves the mixer's time on by `frames` without rendering them, as if silence had
    // been rendered: what plays keeps its place. For an output that rested.
    void skip(std::int64_t frames);

    // --- any thread ---
    // Commands that arrived after their frame had been rendered, and by how many
    // frames the latest of them was late: how well a live output keeps its schedule.
    std::uint64_t lateCommands() const { return late_.load(std::memory_order_relaxed); }
    std::int64_t mostLateFrames() const { return mostLate_.load(std::memory_order_relaxed); }

private:
    void applyDue();
    void apply(const Command& command);
    void renderBlock(float* out, int frames);
    // Adds the voice's next `frames` frames into `mix`; true when a once-play ended.
    bool renderVoice(Voice& voice, float* mix, int frames);
    // A voice without frames keeps its place as if it played; true when a once-play ended.
    bool skipVoice(Voice& voice, std::size_t frames);
    bool endOnce(Voice& voice);
    void retire(int index);

    const int rate_;
    const int rampFrames_;    // volume changes glide over about 1 ms so they do not click
    const float outputGain_;  // linear
    SpscQueue<Command, 2048> commands_;
    SpscQueue<Voice*, kMaxVoices> finished_;
    std::array<Voice*, kMaxVoices> voices_{};
    int voiceCount_ = 0;
    std::array<float, kBlockFrames> scratch_{};
    std::int64_t frame_ = 0;  // the next frame to render
    ChannelStage stage_;
    std::array<std::array<float, kBlockFrames>, kBusCount> buses_{};  // the buses mixed apart
    std::atomic<std::uint64_t> late_{0};
    std::atomic<std::int64_t> mostLate_{0};
};

}  // namespace tessaly
