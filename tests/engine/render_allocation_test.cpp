// The audio callback must never allocate or free: counted with replaced global
// operator new and delete around each call of the real callback function.
#include "engine_test_support.h"

#include "engine/fading_path.h"
#include "engine/live_output.h"
#include "engine/receiver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

thread_local bool counting = false;
volatile float lastHeard = 0;  // keeps the rendered sound from being optimised away
thread_local long allocations = 0;

void* allocate(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void release(void* p) noexcept {
    if (counting && p) ++allocations;
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
// The nothrow forms too (std::stable_sort's buffer comes from them): left to the
// sanitizer's allocator, their memory would reach the free() above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

namespace tessaly {
namespace {

using namespace enginetest;

TEST(RenderCallback, NeverAllocatesOrFrees) {
    TestWaves waves;
    waves.add("clip", 22050, sine(700, 22050, 6615, 0.3f));  // 0.3 s
    waves.add("noise", 44100, sine(90, 44100, 44100, 0.2f));
    waves.add("crackle", 44100, sine(3000, 44100, 22050, 0.1f), 8);
    auto mixer = std::make_shared<Mixer>(LiveOutput::kSampleRate);
    auto engine = std::make_shared<Engine>(mixer, waves.lookup());
    LiveOutput callback(mixer, nullptr);  // never started: this thread plays the audio thread
    auto device = engine->platform().openDefaultDevice();

    auto noise = device->createBuffer(Bus::Reader, "noise", kFlagsWithTone);
    noise->setFrequency(11025);
    noise->play(true);
    auto crackle = device->createBuffer(Bus::Reader, "crackle", kFlagsWithTone);
    crackle->play(true);
    std::shared_ptr<SoundBuffer> clip, interferer;
    std::shared_ptr<ParamEq> eq;

    std::vector<float> out(2 * LiveOutput::kFramesPerCallback);
    long counted = 0;
    for (int block = 0; block < 2000; ++block) {  // about 10 s of practice
        // UI thread: what the reader, the interferer and the variations do.
        if (block % 190 == 0) {
            clip = device->createBuffer(Bus::Reader, "clip", kFlagsWithTone);  // drops the last one
            clip->setFxParamEq();
            eq = clip->paramEqInPath(0);
            clip->setVolume(-(block % 7) * 100);
            clip->play(false);
        }
        if (block % 190 == 50) {
            interferer = device->createBuffer(Bus::Interferer, "clip", kFlagsWithoutTone);
            interferer->setVolume(-1200);
            interferer->setFrequency(23000);
            interferer->play(false);
        }
        if (block % 2 == 0) {
            noise->setVolume(-500 - (block * 37) % 9000);
            eq->setAllParameters({static_cast<float>(80 + (block * 13) % 4900), 36.0f, 15.0f});
        }
        if (block == 900) crackle->stop();
        if (block == 1300) crackle->play(true);
        if (block == 1500) clip->setFrequency(44100);
        engine->beginOperation();

        counting = true;
        callback.fill(out.data(), LiveOutput::kFramesPerCallback);
        counting = false;
        counted += allocations;
        allocations = 0;
    }
    EXPECT_EQ(counted, 0);
}

TEST(RenderCallback, PathAndReceiverNeverAllocateOrFree) {
    // Made on the UI thread; everything after that is what the rendering thread does,
    // including the changes of preset, seed and receiver setting it applies.
    FadingPath reader(LiveOutput::kSampleRate), interferer(LiveOutput::kSampleRate);
    Receiver receiver(LiveOutput::kSampleRate);
    const auto presets = pathPresets();
    constexpr AgcSpeed kSpeeds[] = {AgcSpeed::Off, AgcSpeed::Fast, AgcSpeed::Medium, AgcSpeed::Slow};
    std::vector<float> voice(LiveOutput::kFramesPerCallback), other(voice.size());
    long counted = 0;
    for (int block = 0; block < 2000; ++block) {
        for (std::size_t i = 0; i < voice.size(); ++i) {
            voice[i] = 0.3f * static_cast<float>(std::sin(0.05 * static_cast<double>(block * voice.size() + i)));
            other[i] = 0.5f * voice[i];
        }
        counting = true;
        if (block % 150 == 0) {
            reader.setPreset(presets[static_cast<std::size_t>(block / 150) % presets.size()]);
            interferer.setPreset(presets[static_cast<std::size_t>(block / 150 + 3) % presets.size()]);
            reader.reseed(static_cast<std::uint64_t>(block));
            receiver.setPassband(block % 300 == 0);
            receiver.setAgc(kSpeeds[(block / 150) % 4]);
        }
        if (reader.active()) reader.process(voice.data(), static_cast<int>(voice.size()));
        if (interferer.active()) interferer.process(other.data(), static_cast<int>(other.size()));
        for (std::size_t i = 0; i < voice.size(); ++i) voice[i] += other[i];
        if (receiver.active()) receiver.process(voice.data(), static_cast<int>(voice.size()));
        lastHeard = receiver.gainDb() + voice[0];
        counting = false;
        counted += allocations;
        allocations = 0;
    }
    EXPECT_EQ(counted, 0);
}

}  // namespace
}  // namespace tessaly
