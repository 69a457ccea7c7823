// The frame clock: commands applied on their stamped frame, the readings the
// rendering thread publishes, the pace a live host moves the form clock by, and
// loops that keep their place without frames while nobody hears them.
#include "engine/frame_clock.h"
#include "engine/frame_pace.h"
#include "engine/mixer.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tessaly {
namespace {

using namespace enginetest;

// A voice of constant 0.5 whose Play is stamped for frame `at`.
struct StampedPlay {
    explicit StampedPlay(std::int64_t at) {
        frames.assign(1000, 0.5f);
        send(Command::Kind::Add, 0);
        Command rendition{Command::Kind::Rendition};
        rendition.frames = frames.data();
        rendition.length = frames.size();
        send(rendition, 0);
        send(Command::Kind::Play, at);
    }
    void send(Command c, std::int64_t frame) {
        c.voice = &voice;
        c.count = ++voice.sent;
        c.frame = frame;
        EXPECT_TRUE(mixer.send(c));
    }
    void send(Command::Kind kind, std::int64_t frame) { send(Command{kind}, frame); }
    std::vector<float> render(std::size_t n) {
        std::vector<float> out(n);
        mixer.render(out.data(), n);
        return out;
    }
    Mixer mixer{48000};
    Voice voice;
    std::vector<float> frames;
};

TEST(FrameClock, ACommandTakesEffectOnItsStampedFrameWhereverTheBlocksFall) {
    for (const std::int64_t at : {0, 1, 100, 255, 256, 257, 700}) {
        StampedPlay p(at);
        // Odd block sizes, as a device may ask for.
        std::vector<float> out;
        for (std::size_t n : {7u, 300u, 129u, 600u}) {
            const auto block = p.render(n);
            out.insert(out.end(), block.begin(), block.end());
        }
        const auto first = static_cast<std::int64_t>(std::find_if(out.begin(), out.end(), [](float x) { return x != 0; }) - out.begin());
        EXPECT_EQ(first, at);
        EXPECT_EQ(p.mixer.lateCommands(), 0u);
    }
}

TEST(FrameClock, ACommandForAFrameAlreadyRenderedPlaysAtOnceAndIsCounted) {
    StampedPlay p(10);
    p.render(0);  // nothing rendered: the Play is not late yet
    EXPECT_EQ(p.mixer.lateCommands(), 0u);
    StampedPlay late(0);
    late.render(500);
    late.send(Command::Kind::Stop, 100);  // stamped for frame 100, arrives at 500
    const auto out = late.render(10);
    EXPECT_EQ(out[0], 0.0f) << "stopped at once";
    EXPECT_EQ(late.mixer.lateCommands(), 1u);
    EXPECT_EQ(late.mixer.mostLateFrames(), 400);
}

TEST(FrameClock, AReaderSeesWholeReadingsWhileAnotherThreadPublishes) {
    FrameClock clock;
    EXPECT_FALSE(clock.latest());
    std::atomic<bool> done{false};
    const auto zero = FrameClock::Clock::time_point{};
    std::thread writer([&] {
        for (std::int64_t frame = 0; frame < 200000; frame += 256)
            clock.publish(frame, zero + std::chrono::microseconds(frame));  // time tied to frame
        done = true;
    });
    int reads = 0;
    while (!done || reads == 0) {
        if (const auto r = clock.latest()) {
            ++reads;
            ASSERT_EQ(r->at, zero + std::chrono::microseconds(r->frame)) << "a torn reading";
        }
    }
    writer.join();
    EXPECT_GT(reads, 0);
}

TEST(FrameClock, ThePaceReadsTheFormClockOffTheFramesAndStampsAheadOfThem) {
    FrameClock clock;
    std::int64_t formMs = 0;
    const auto start = Pace::Clock::now();
    clock.publish(0, start);
    FramePace pace(clock, 48000, [&] { return formMs; });
    // Half a second of frames rendered, read just now: the form clock is there.
    clock.publish(24000, Pace::Clock::now());
    EXPECT_NEAR(static_cast<double>(pace.nowMs()), 500, 50);
    // Form time 0 was anchored to the frame being rendered when the pace was made:
    // frame 0, give or take the microseconds that took (more under a sanitizer).
    const std::int64_t latency = FramePace::kSchedulingLatencyMs * 48;
    const std::int64_t origin = pace.stampNow() - latency;
    EXPECT_NEAR(static_cast<double>(origin), 0.0, 48.0);
    // A tick due at 1000 ms: its operations land 48000 frames on, and the latency on.
    formMs = 1000;
    EXPECT_EQ(pace.stampNow(), origin + 48000 + latency);
    // ... and the host wakes for it when the frames get there.
    const auto wake = pace.when(1000);
    const double untilMs = std::chrono::duration<double, std::milli>(wake - Pace::Clock::now()).count();
    EXPECT_NEAR(untilMs, 500, 50);
    // Anchored again (another pace took over, or the host slipped): form time 2000 is now.
    pace.anchor(2000);
    formMs = 2000;
    const std::int64_t expected = 24000 + FramePace::kSchedulingLatencyMs * 48;
    EXPECT_NEAR(static_cast<double>(pace.stampNow() - expected), 0.0, 2.0 * 48);
}

TEST(SilentLoops, ALoopAtSilenceKeepsItsPlaceWithoutFramesAndSoundsOnFromThere) {
    // A 1 s ramp looped at silence for 0.25 s, then made audible: it goes on from
    // where it had got to, exactly as if it had been rendered all along.
    std::vector<float> ramp(48000);
    for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<float>(i) / 48000.0f;
    const auto run = [&](bool silentFirst) {
        OfflineRig rig;
        rig.waves.add("ramp", 48000, ramp);
        auto buffer = rig.buffer("ramp");
        buffer->setVolume(silentFirst ? kVolumeSilent : 0);
        buffer->play(true);
        rig.now = 250;
        buffer->setVolume(0);
        rig.renderTo(300);
        return rig.out;
    };
    const auto heardAllAlong = run(false), silentFirst = run(true);
    const std::size_t at = 250 * 48 + 48;  // past the volume's 1 ms glide
    ASSERT_GT(silentFirst.size(), at + 100);
    for (std::size_t i = at; i < at + 100; ++i) EXPECT_NEAR(silentFirst[i], heardAllAlong[i], 1e-3) << i;
}

}  // namespace
}  // namespace tessaly
