// The live output following a device that comes and goes. The device is a fake whose
// stream this thread drives, as an audio thread would, one block at a time: nothing
// here depends on how long anything takes. The null output runs for real.
#include "engine_test_support.h"

#include "engine/live_output.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tessaly {
namespace {

using namespace enginetest;

constexpr auto kLongWait = std::chrono::seconds(20);  // a bound for waits that end at once when all is well

// What the test controls of the fake device and sees of it. Shared between the fake
// (worker thread) and the test (this thread, which plays the stream's thread).
struct FakeStream {
    std::mutex mutex;
    std::condition_variable changed;
    bool present = false;     // open() succeeds
    bool startFails = false;  // start() fails
    bool started = false;     // started and not closed
    bool broken = false;      // the stream ended by itself
    int opens = 0;
    bool lastCloseAborted = false;
    StreamSource* source = nullptr;

    template <class Predicate> bool waitUntil(std::unique_lock<std::mutex>& lock, Predicate ready) {
        return changed.wait_for(lock, kLongWait, ready);
    }
};

class FakeDevice final : public AudioDevice {
public:
    explicit FakeDevice(std::shared_ptr<FakeStream> stream) : s_(std::move(stream)) {}
    bool open(StreamSource& source, std::string& reason) override {
        std::lock_guard lock(s_->mutex);
        ++s_->opens;
        s_->changed.notify_all();
        if (!s_->present) reason = "no fake device";
        s_->source = &source;
        return s_->present;
    }
    int channels() const override { return 2; }
    bool start(std::string& reason) override {
        std::lock_guard lock(s_->mutex);
        if (s_->startFails) reason = "the fake would not start";
        s_->started = !s_->startFails;
        s_->changed.notify_all();
        return s_->started;
    }
    void pause() override {
        std::lock_guard lock(s_->mutex);
        s_->started = false;
        s_->changed.notify_all();
    }
    bool active() override {
        std::lock_guard lock(s_->mutex);
        return !s_->broken;
    }
    // Waits for a block the test is rendering, as closing a real stream joins its thread.
    void close(bool abort) override {
        std::lock_guard lock(s_->mutex);
        s_->started = s_->broken = false;
        s_->lastCloseAborted = abort;
        s_->changed.notify_all();
    }

private:
    std::shared_ptr<FakeStream> s_;
};

class LiveRig {
public:
    enum class Device { Absent, Present, WillNotStart };
    explicit LiveRig(Device fake, LiveOutputTiming timing = quick()) {
        stream->present = fake != Device::Absent;
        stream->startFails = fake == Device::WillNotStart;
        waves.add("loop", 22050, sine(500, 22050, 22050, 0.4f));       // 1 s, whole cycles
        waves.add("long", 22050, sine(1500, 22050, 22050 * 20, 0.2f));  // 20 s
        mixer = std::make_shared<Mixer>(LiveOutput::kSampleRate);
        engine = std::make_shared<Engine>(mixer, waves.lookup());
        output = std::make_shared<LiveOutput>(mixer, std::make_unique<FakeDevice>(stream), timing,
                                              [this](const std::string& line) {
                                                  std::lock_guard lock(noticesMutex_);
                                                  notices_.push_back(line);
                                              });
        engine->setOutput(output);
        device = engine->platform().openDefaultDevice();
        output->start();
    }
    ~LiveRig() { output->stop(); }

    static LiveOutputTiming quick() {
        using std::chrono::milliseconds;
        return {milliseconds(1), milliseconds(1), std::chrono::hours(1), std::chrono::hours(1)};
    }

    std::vector<std::string> notices() {
        std::lock_guard lock(noticesMutex_);
        return notices_;
    }

    // Waits for the state, as a host would see it; returns what it saw at the end.
    SoundStatus waitFor(SoundState state) {
        SoundStatus now = output->status();
        const auto limit = std::chrono::steady_clock::now() + kLongWait;
        while (now.state != state && std::chrono::steady_clock::now() < limit) {
            now = output->waitForChange(now.changes, 1000);
        }
        return now;
    }

    // Plays the stream's thread: once it has been started, renders `frames` stereo
    // frames. Returns the left channel; empty when the stream was not started.
    std::vector<float> pump(std::size_t frames) {
        std::unique_lock lock(stream->mutex);
        std::vector<float> left;
        if (!stream->waitUntil(lock, [this] { return stream->started; })) return left;
        std::vector<float> out(2 * LiveOutput::kFramesPerCallback);
        while (left.size() < frames) {
            stream->source->fill(out.data(), LiveOutput::kFramesPerCallback);
            for (std::size_t i = 0; i < out.size(); i += 2) left.push_back(out[i]);
        }
        return left;
    }
    // Starts the stream's callbacks and waits for the output to take the device.
    SoundStatus playOnDevice() {
        pump(LiveOutput::kFramesPerCallback);
        return waitFor(SoundState::Device);
    }
    // Acts on the fake under its lock.
    template <class Change> auto with(Change change) {
        std::lock_guard lock(stream->mutex);
        return change(*stream);
    }
    int opens() {
        std::lock_guard lock(stream->mutex);
        return stream->opens;
    }
    void waitForPause() {
        std::unique_lock lock(stream->mutex);
        stream->waitUntil(lock, [&] { return !stream->started; });
    }
    bool waitForRest() {
        const auto limit = std::chrono::steady_clock::now() + kLongWait;
        while (!output->resting() && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
        return output->resting();
    }
    void waitForOpens(int count) {
        std::unique_lock lock(stream->mutex);
        stream->waitUntil(lock, [&] { return stream->opens >= count; });
    }

    std::shared_ptr<FakeStream> stream = std::make_shared<FakeStream>();
    TestWaves waves;
    std::shared_ptr<Mixer> mixer;
    std::shared_ptr<Engine> engine;
    std::shared_ptr<LiveOutput> output;
    std::shared_ptr<SoundDevice> device;  // the platform's, not the fake

private:
    std::mutex noticesMutex_;
    std::vector<std::string> notices_;
};

const std::string kNoSound = "no sound (no fake device); running silently";
const std::string kWentAway = "no sound (the sound device went away); running silently";
const std::string kBack = "sound is back";

// --- what the hosts see ---------------------------------------------------------

TEST(LiveOutputState, TheDeviceCountsFromItsFirstCallback) {
    LiveRig rig(LiveRig::Device::Present);
    rig.waitForOpens(1);
    EXPECT_EQ(rig.output->status().state, SoundState::Starting);  // opened, but nothing played yet
    const SoundStatus playing = rig.playOnDevice();
    EXPECT_EQ(playing.state, SoundState::Device);
    EXPECT_EQ(playing.changes, 1u);
    EXPECT_TRUE(rig.output->waitUntilSettled(0));
    EXPECT_TRUE(rig.notices().empty());
    EXPECT_TRUE(rig.output->stop());
    EXPECT_FALSE(rig.with([](FakeStream& s) { return s.lastCloseAborted; }));  // a normal stop lets the device play out
}

TEST(LiveOutputState, NoDeviceIsSaidOnceHoweverOftenItIsTried) {
    LiveRig rig(LiveRig::Device::Absent);
    EXPECT_FALSE(rig.output->waitUntilSettled(static_cast<int>(std::chrono::milliseconds(kLongWait).count())));
    rig.waitForOpens(20);
    const SoundStatus silent = rig.output->status();
    EXPECT_EQ(silent.state, SoundState::Silent);
    EXPECT_EQ(silent.changes, 1u);
    EXPECT_EQ(rig.notices(), std::vector<std::string>{kNoSound});
}

TEST(LiveOutputState, ADeviceThatAppearsLaterTakesOver) {
    LiveRig rig(LiveRig::Device::Absent);
    rig.waitFor(SoundState::Silent);
    rig.waitForOpens(3);
    rig.with([](FakeStream& s) { s.present = true; });
    const SoundStatus playing = rig.playOnDevice();
    EXPECT_EQ(playing.state, SoundState::Device);
    EXPECT_EQ(playing.changes, 2u);
    EXPECT_EQ(rig.notices(), (std::vector<std::string>{kNoSound, kBack}));
}

TEST(LiveOutputState, LosingAndRegainingManyTimesSaysEachChangeOnce) {
    LiveRig rig(LiveRig::Device::Present);
    rig.playOnDevice();
    std::vector<std::string> expected;
    for (int round = 0; round < 5; ++round) {
        rig.with([](FakeStream& s) { s.broken = true; });  // as when the sound server dies
        EXPECT_EQ(rig.waitFor(SoundState::Silent).state, SoundState::Silent);
        EXPECT_TRUE(rig.with([](FakeStream& s) { return s.lastCloseAborted; }));
        EXPECT_EQ(rig.playOnDevice().state, SoundState::Device);
        expected.insert(expected.end(), {kWentAway, kBack});
    }
    EXPECT_EQ(rig.output->status().changes, 11u);
    EXPECT_EQ(rig.notices(), expected);
}

TEST(LiveOutputState, AStreamThatStopsCallingBackIsTakenAsGone) {
    auto timing = LiveRig::quick();
    timing.stall = std::chrono::milliseconds(20);
    LiveRig rig(LiveRig::Device::Present, timing);
    rig.playOnDevice();
    // No more callbacks from here: the worker must notice on its own.
    EXPECT_EQ(rig.waitFor(SoundState::Silent).state, SoundState::Silent);
    EXPECT_EQ(rig.notices(), std::vector<std::string>{kWentAway});
}

TEST(LiveOutputState, AStreamThatWillNotStartIsNeverAnnounced) {
    LiveRig rig(LiveRig::Device::WillNotStart);
    rig.waitFor(SoundState::Silent);
    rig.waitForOpens(5);
    EXPECT_EQ(rig.output->status().changes, 1u);
    EXPECT_EQ(rig.notices(), std::vector<std::string>{"no sound (the fake would not start); running silently"});
    rig.with([](FakeStream& s) { s.startFails = false; });
    EXPECT_EQ(rig.playOnDevice().state, SoundState::Device);
}

// --- what the listener hears ------------------------------------------------------

// The device takes the mixer over where the null output left it: a loop playing
// before the loss and a clip started while silent are both heard when it returns.
TEST(LiveOutputSound, VoicesCarryOnAcrossTheHandOvers) {
    LiveRig rig(LiveRig::Device::Present);
    auto loop = rig.device->createBuffer(Bus::Reader, "loop", kFlagsWithTone);
    ASSERT_TRUE(loop->play(true));
    rig.playOnDevice();
    const std::size_t n = 4800;  // 100 ms
    const auto before = rig.pump(n);
    EXPECT_NEAR(toneAmplitude(before, 0, n, 500, LiveOutput::kSampleRate), 0.4, 0.02);

    rig.with([](FakeStream& s) { s.broken = true; });  // as when the sound server dies
    rig.waitFor(SoundState::Silent);
    auto clip = rig.device->createBuffer(Bus::Reader, "long", kFlagsWithTone);
    ASSERT_TRUE(clip->play(false));
    rig.playOnDevice();
    const auto after = rig.pump(n);
    EXPECT_NEAR(toneAmplitude(after, 0, n, 500, LiveOutput::kSampleRate), 0.4, 0.02);
    EXPECT_NEAR(toneAmplitude(after, 0, n, 1500, LiveOutput::kSampleRate), 0.2, 0.02);
    EXPECT_NE(clip->getStatus(), 0);  // still playing: not restarted, not dropped
}

// A quiet output rests: no thread renders, the stream stops and the device is not
// tried again. The next sound wakes it and the mixer goes on from the frame the clock
// reached meanwhile, so the loop started then is heard at once.
TEST(LiveOutputSound, AQuietOutputRestsUntilTheNextSound) {
    for (const auto fake : {LiveRig::Device::Present, LiveRig::Device::Absent}) {
        auto timing = LiveRig::quick();
        timing.rest = std::chrono::milliseconds(20);
        LiveRig rig(fake, timing);
        if (fake == LiveRig::Device::Present) {
            rig.playOnDevice();
            rig.pump(4800);
            rig.waitForPause();
        }
        ASSERT_TRUE(rig.waitForRest());
        const int opensAtRest = rig.opens();
        const std::int64_t restedAt = rig.mixer->framesRendered();
        auto loop = rig.device->createBuffer(Bus::Reader, "loop", kFlagsWithTone);
        ASSERT_TRUE(loop->play(true));
        EXPECT_FALSE(rig.output->resting());
        if (fake == LiveRig::Device::Present) {
            const auto heard = rig.pump(4800);
            EXPECT_GT(rig.mixer->framesRendered(), restedAt + 4800);
            EXPECT_NEAR(toneAmplitude(heard, 0, heard.size(), 500, LiveOutput::kSampleRate), 0.4, 0.02);
        } else {
            rig.waitForOpens(opensAtRest + 1);
            EXPECT_GT(rig.opens(), opensAtRest);
        }
    }
}

}  // namespace
}  // namespace tessaly
