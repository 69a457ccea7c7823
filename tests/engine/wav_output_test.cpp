// The WAV writer: plain WAV while the data fits one, RF64 past it, a cap on the
// length, and nothing more mixed or written after the first failed write.
#include "engine/offline_sound.h"
#include "engine/wav_output.h"
#include "support/scratch_folder.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

std::vector<float> ramp(std::size_t frames, float from) {
    std::vector<float> s(frames);
    for (std::size_t i = 0; i < frames; ++i) s[i] = std::fmod(from + 0.001f * static_cast<float>(i), 1.0f) - 0.5f;
    return s;
}

struct Written {
    int container = 0, channels = 0;
    std::vector<float> left;  // the first channel
};

Written readBack(const fs::path& p) {
    SF_INFO info{};
    SNDFILE* f = sf_open(p.c_str(), SFM_READ, &info);
    EXPECT_TRUE(f) << sf_strerror(nullptr);
    Written w;
    if (!f) return w;
    w.container = info.format & SF_FORMAT_TYPEMASK;
    w.channels = info.channels;
    std::vector<float> all(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(f, all.data(), info.frames);
    sf_close(f);
    for (std::size_t i = 0; i < all.size(); i += static_cast<std::size_t>(info.channels)) w.left.push_back(all[i]);
    return w;
}

class WavOutputTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    const fs::path dir{scratch.path()};
};

// The switch, with a plain-WAV limit of a few thousand bytes standing in for 4 GiB.
TEST_F(WavOutputTest, GoesOnAsRf64OnlyOnceTheDataPassesThePlainLimit) {
    struct Case { int channels; std::uint64_t plainLimit; int container; const char* marker; } cases[] = {
        {1, kPlainWavDataBytes, SF_FORMAT_WAV, "RIFF"},
        {1, 3000, SF_FORMAT_WAV, "RIFF"},  // 1500 frames x 2 bytes fit exactly
        {1, 2999, SF_FORMAT_RF64, "RF64"},  // switched at the last write
        {1, 1500, SF_FORMAT_RF64, "RF64"},  // switched at the second
        {2, 5000, SF_FORMAT_RF64, "RF64"},
    };
    for (const Case& c : cases) {
        const fs::path path = dir / ("out" + std::to_string(c.plainLimit) + "_" + std::to_string(c.channels) + ".wav");
        std::string error;
        auto sink = openWavFile(path.string(), {48000, c.channels}, {.plainDataBytes = c.plainLimit}, error);
        ASSERT_TRUE(sink) << error;
        const auto first = ramp(1000, 0.0f), second = ramp(1000, 0.5f);
        ASSERT_TRUE(sink->write(std::span<const float>(first).first(500)));
        ASSERT_TRUE(sink->write(std::span<const float>(first).subspan(500)));
        ASSERT_TRUE(sink->write(std::span<const float>(second).first(500))) << c.plainLimit;
        ASSERT_TRUE(sink->close(error)) << error;
        EXPECT_EQ(fileText(path).substr(0, 4), c.marker) << c.plainLimit;
        const Written w = readBack(path);
        EXPECT_EQ(w.container, c.container) << c.plainLimit;
        EXPECT_EQ(w.channels, c.channels);
        ASSERT_EQ(w.left.size(), 1500u) << c.plainLimit;
        for (std::size_t i = 0; i < 1500; ++i)
            ASSERT_NEAR(w.left[i], i < 1000 ? first[i] : second[i - 1000], 1.0 / 32768) << c.plainLimit << " frame " << i;
    }
    // Only the outputs: the plain file that became RF64 left nothing beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), static_cast<long>(std::size(cases)));
}

TEST_F(WavOutputTest, RefusesToGrowPastTheLongestAndSaysSo) {
    std::string error;
    auto sink = openWavFile((dir / "long.wav").string(), {}, {.longestDataBytes = 3000}, error);
    ASSERT_TRUE(sink) << error;
    const auto frames = ramp(1000, 0.0f);
    EXPECT_TRUE(sink->write(frames));
    EXPECT_FALSE(sink->write(frames));
    EXPECT_FALSE(sink->write(std::span<const float>(frames).first(1))) << "every write after the first failure fails";
    EXPECT_FALSE(sink->close(error));
    EXPECT_NE(error.find("longer than a WAV output may be"), std::string::npos) << error;
    EXPECT_EQ(wavFileBytes(1000), 44u + 48000 * 2);
    EXPECT_GT(wavFileBytes(kLongestWavSeconds * 1000), 30'000'000'000u);
}

// After a failed write the output is lost: the rest of the practice is neither
// mixed nor offered to the sink, and finish() says why.
TEST(OfflineSound, StopsAtTheFirstFailedWrite) {
    class FailingSink final : public FrameSink {
    public:
        explicit FailingSink(int& writes) : writes_(writes) {}
        bool write(std::span<const float>) override { return ++writes_ < 3; }
        bool close(std::string& error) override {
            error = "the disk is full";
            return false;
        }

    private:
        int& writes_;
    };
    int writes = 0;
    std::int64_t now = 0;
    auto sound = makeOfflineSound(48000, [&] { return now; }, std::make_unique<FailingSink>(writes),
                                  [](std::string_view) { return std::nullopt; });
    for (now = 1000; now <= 600'000; now += 1000) sound->renderUntilMs(now);
    EXPECT_EQ(writes, 3);
    std::string error;
    EXPECT_FALSE(sound->finish(error));
    EXPECT_EQ(error, "writing the sound failed: the disk is full");
}

}  // namespace
}  // namespace tessaly
