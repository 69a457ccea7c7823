// What the practice logic relies on from the engine's platform objects, beyond the samples.
#include "engine_test_support.h"

#include "engine/mixer.h"
#include "engine/wave_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cmath>
#include <fstream>
#include <iterator>

namespace tessaly {
namespace {

using namespace enginetest;

TEST(WaveDecoder, ReadsEightBitUnsignedAndSixteenBitSigned) {
    std::string error;
    std::vector<std::uint8_t> eight = wavBytes(11025, 8, {});
    eight.insert(eight.end(), {0, 128, 255});
    eight[40] = 3;      // data size
    eight[4] = 36 + 3;  // RIFF size
    auto w8 = decodeWave(eight, error);
    ASSERT_TRUE(w8) << error;
    EXPECT_EQ(w8->sampleRate, 11025);
    EXPECT_EQ(w8->samples, (std::vector<float>{-1.0f, 0.0f, 127.0f / 128.0f}));

    auto w16 = decodeWave(wavBytes(22050, 16, {-1.0f, 0.0f, 0.5f}), error);
    ASSERT_TRUE(w16) << error;
    EXPECT_EQ(w16->sampleRate, 22050);
    EXPECT_EQ(w16->samples, (std::vector<float>{-1.0f, 0.0f, 0.5f}));
}

TEST(WaveDecoder, RefusesWhatTheResourcesNeverHold) {
    std::string error;
    EXPECT_FALSE(decodeWave(wavBytes(22050, 16, {0.1f, 0.2f}, 2), error)) << "stereo";
    EXPECT_EQ(error, "not mono");
    auto wide = wavBytes(22050, 16, {0.1f, 0.2f, 0.3f});  // relabelled as 24-bit: 2 frames
    wide[34] = 24;
    wide[32] = 3;
    EXPECT_FALSE(decodeWave(wide, error)) << "24-bit";
    const std::vector<std::uint8_t> junk(100, 7);
    EXPECT_FALSE(decodeWave(junk, error)) << "not a WAVE file";
    EXPECT_FALSE(decodeWave({}, error)) << "empty";
}

TEST(SoundPlatform, FindsResourcesWithoutRegardToCaseAndDecodesOnce) {
    OfflineRig rig;
    rig.waves.add("ZAOYIN", 44100, std::vector<float>(441, 0.1f));
    EXPECT_TRUE(rig.buffer("zaoyin"));
    EXPECT_TRUE(rig.buffer("ZaoYin"));
    EXPECT_FALSE(rig.buffer("missing"));
    // Opening the default device again while it is held hands back the same one.
    EXPECT_EQ(rig.sound->platform().openDefaultDevice(), rig.device);
}

TEST(SoundPlatform, RefusesValuesOutsideThePlatformRanges) {
    OfflineRig rig;
    rig.waves.add("tone", 22050, sine(440, 22050, 100, 0.5f));
    auto clip = rig.buffer("tone");
    for (int v : {1, -10001}) EXPECT_FALSE(clip->setVolume(v)) << v;
    for (int v : {0, -600, -10000}) EXPECT_TRUE(clip->setVolume(v)) << v;
    for (int f : {99, 200001, -1}) EXPECT_FALSE(clip->setFrequency(f)) << f;
    for (int f : {100, 200000, 0, 23000}) EXPECT_TRUE(clip->setFrequency(f)) << f;

    EXPECT_FALSE(clip->paramEqInPath(0)) << "no effect chain yet";
    ASSERT_TRUE(clip->setFxParamEq());
    EXPECT_FALSE(clip->paramEqInPath(1));
    auto eq = clip->paramEqInPath(0);
    ASSERT_TRUE(eq);
    EXPECT_EQ(eq->getAllParameters().centerHz, 8000.0f);
    const ParamEqParameters bad[] = {{79, 36, 15}, {16001, 36, 15}, {2500, 0.5f, 15},
                                     {2500, 37, 15}, {2500, 36, 15.5f}, {2500, 36, -16}};
    for (const auto& p : bad) EXPECT_FALSE(eq->setAllParameters(p)) << p.centerHz << " " << p.bandwidthSemitones << " " << p.gainDb;
    EXPECT_EQ(eq->getAllParameters().centerHz, 8000.0f);
    ASSERT_TRUE(eq->setAllParameters({80, 36, 15}));
    ASSERT_TRUE(eq->setAllParameters({5000, 36, 15}));
    EXPECT_EQ(clip->paramEqInPath(0)->getAllParameters().centerHz, 5000.0f);
}

TEST(SoundPlatform, FlagsDecideWhatABufferControls) {
    OfflineRig rig;
    rig.waves.add("tone", 22050, sine(440, 22050, 2205, 0.5f));
    auto interferer = rig.buffer("tone", kFlagsWithoutTone);
    EXPECT_FALSE(interferer->setFxParamEq());
    EXPECT_TRUE(interferer->setVolume(-1200));
    EXPECT_TRUE(interferer->setFrequency(23000));
    auto bare = rig.buffer("tone", 0);
    EXPECT_FALSE(bare->setVolume(-600));
    EXPECT_FALSE(bare->setFrequency(23000));
    auto clip = rig.buffer("tone");
    clip->play(false);
    EXPECT_FALSE(clip->setFxParamEq()) << "only a stopped buffer gets an effect chain";
}

TEST(SoundPlatform, StatusFollowsPlayStopAndLooping) {
    OfflineRig rig;
    rig.waves.add("tone", 22050, sine(440, 22050, 2205, 0.5f));  // 100 ms
    auto clip = rig.buffer("tone");
    EXPECT_EQ(clip->getStatus(), 0);
    clip->play(true);
    EXPECT_EQ(clip->getStatus(), kStatusPlaying | kStatusLooping);
    rig.now = 1000;
    EXPECT_EQ(clip->getStatus(), kStatusPlaying | kStatusLooping);
    clip->play(false);  // the loop finishes its pass and stops
    EXPECT_EQ(clip->getStatus(), kStatusPlaying);
    rig.now = 1100;
    EXPECT_EQ(clip->getStatus(), 0);
    clip->play(true);
    clip->stop();
    EXPECT_EQ(clip->getStatus(), 0);
}

TEST(SoundPlatform, EqualiserKeepsItsBufferAlive) {
    OfflineRig rig;
    rig.waves.add("dc", 22050, std::vector<float>(22050, 0.5f));
    auto clip = rig.buffer("dc");
    clip->setFxParamEq();
    auto eq = clip->paramEqInPath(0);
    clip->play(true);
    clip.reset();
    rig.renderTo(100);
    EXPECT_NEAR(rig.out.back(), 0.5, 1e-3) << "still playing while its equaliser is held";
    eq.reset();
    rig.now = 100;
    rig.renderTo(200);
    EXPECT_EQ(rig.out.back(), 0.0f);
}

TEST(WavOutput, WritesSixteenBitFramesAtTheChosenRate) {
    const std::string path = ::testing::TempDir() + "engine_wav_output_test.wav";
    TestWaves waves;
    waves.add("dc", 22050, std::vector<float>(22050, 0.5f));
    std::int64_t now = 0;
    std::string error;
    auto wav = makeWavOutput(path, {44100, 2}, [&] { return now; }, error, waves.lookup());
    ASSERT_TRUE(wav) << error;
    auto clip = wav->platform().openDefaultDevice()->createBuffer(Bus::Reader, "dc", kFlagsWithTone);
    now = 10;
    clip->play(false);
    now = 20;
    ASSERT_TRUE(wav->finish(error)) << error;

    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 44u + 882u * 2 * 2);  // 20 ms at 44100 Hz, two channels of 16 bits
    EXPECT_EQ(bytes[22], 2);                       // channels
    EXPECT_EQ(bytes[24] | bytes[25] << 8 | bytes[26] << 16, 44100);
    EXPECT_EQ(bytes[34], 16);
    auto sample = [&](std::size_t frame, int channel) {
        const std::size_t at = 44 + frame * 4 + static_cast<std::size_t>(channel) * 2;
        return static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8);
    };
    EXPECT_EQ(sample(440, 0), 0);
    EXPECT_EQ(sample(441, 0), sample(441, 1));
    // Half scale in the recording, less the headroom the program's outputs keep.
    EXPECT_NEAR(sample(441, 0), 16384 * std::pow(10.0, kOutputHeadroomDb / 20.0), 40);
    std::remove(path.c_str());

    EXPECT_FALSE(makeWavOutput("/nonexistent-dir/x.wav", {}, [] { return 0; }, error, waves.lookup()));
    EXPECT_EQ(error, "No such file or directory") << "the reason only: the caller names the file";
    EXPECT_FALSE(makeWavOutput(path, {48000, 3}, [] { return 0; }, error, waves.lookup()));
}

}  // namespace
}  // namespace tessaly
