// Voice packs: which files replace which clips, which are refused and why, and
// that every accepted file comes out in the clips' form.
#include "engine/wave_decoder.h"
#include "headless/practice_render.h"
#include "voices/voice_pack.h"
#include "support/scratch_folder.h"
#include "support/sound_file.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <fstream>
#include <numbers>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// A tone burst between two silences, as a speaker would leave around a word.
std::vector<float> burst(int rate, double leadS, double toneS, double tailS, float amplitude = 0.3f) {
    std::vector<float> s(static_cast<std::size_t>((leadS + toneS + tailS) * rate), 0.0f);
    const auto from = static_cast<std::size_t>(leadS * rate), to = static_cast<std::size_t>((leadS + toneS) * rate);
    for (std::size_t i = from; i < to; ++i)
        s[i] = amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / rate));
    return s;
}

void writeWav(const fs::path& path, int rate, int channels, int subtype, const std::vector<float>& mono) {
    testing::writeSoundFile(path, rate, channels, SF_FORMAT_WAV | subtype, mono);
}

class VoicePackTest : public ::testing::Test {
protected:
    std::unique_ptr<VoicePack> load() {
        std::string error;
        auto pack = VoicePack::load(dir.string(), error);
        EXPECT_TRUE(pack) << error;
        return pack;
    }
    const PackClip& clip(const VoicePack& p, const std::string& name) {
        for (const PackClip& c : p.clips())
            if (c.name == name) return c;
        throw std::runtime_error("no clip " + name);
    }
    ScratchFolder scratch;
    const fs::path dir{scratch.path()};
};

TEST_F(VoicePackTest, RefusesEachBadFileNamingWhy) {
    struct Case {
        const char* file;
        std::function<void(const fs::path&)> make;
        PackRefusal refusal;
    } cases[] = {
        {"001.wav", [](const fs::path& p) { std::ofstream(p) << "not a recording"; }, PackRefusal::NotReadable},
        {"002.wav", [](const fs::path& p) { writeWav(p, 22050, 1, SF_FORMAT_PCM_16, {}); }, PackRefusal::NoSound},
        {"003.wav", [](const fs::path& p) { writeWav(p, 22050, 1, SF_FORMAT_PCM_16, std::vector<float>(22050, 0.0f)); },
         PackRefusal::NoSound},
        {"004.wav", [](const fs::path& p) { writeWav(p, 22050, 1, SF_FORMAT_PCM_16, burst(22050, 0.2, 2.5, 0.2)); },
         PackRefusal::TooLong},
        {"005.wav", [](const fs::path& p) { writeWav(p, 22050, 3, SF_FORMAT_PCM_16, burst(22050, 0, 0.3, 0)); },
         PackRefusal::Channels},
        {"006.wav", [](const fs::path& p) { writeWav(p, 8000, 1, SF_FORMAT_ULAW, burst(8000, 0, 0.3, 0)); },
         PackRefusal::NotPcm},
    };
    for (const Case& c : cases) c.make(dir / c.file);
    const auto pack = load();
    ASSERT_TRUE(pack);
    ASSERT_EQ(pack->refused().size(), std::size(cases));
    for (const Case& c : cases) {
        const PackClip& refused = clip(*pack, std::string(c.file, 3));
        EXPECT_EQ(refused.refusal, c.refusal) << c.file << ": " << refusalText(refused);
        EXPECT_EQ(refused.file, c.file);
        EXPECT_FALSE(refusalText(refused).empty());
        EXPECT_FALSE(refusalTextZh(refused).empty());
    }
    // The refused clips are spoken by the built-in ones.
    const std::vector<std::uint8_t> builtIn = {1, 2, 3};
    const auto waves = pack->lookup([&](std::string_view) { return std::optional(std::span<const std::uint8_t>(builtIn)); });
    for (const Case& c : cases) EXPECT_EQ(waves(std::string(c.file, 3))->data(), builtIn.data()) << c.file;
}

// Entries named for a clip that cannot be used are each named with the reason,
// never skipped without a word and never waited on; a long file is refused by its
// header, before anything is read.
TEST_F(VoicePackTest, RefusesWhatIsNoUsableRecording) {
    struct Case {
        const char* file;
        std::function<void(const fs::path&)> make;
        PackRefusal refusal;
        const char* said;
    } cases[] = {
        {"301.wav", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, PackRefusal::NotAFile, "FIFO"},
        {"302.wav", [](const fs::path& p) { fs::create_directory(p); }, PackRefusal::NotAFile, "folder"},
        {"303.wav", [](const fs::path& p) { fs::create_symlink("nowhere.wav", p); }, PackRefusal::NotAFile, "to nothing"},
        {"304.wav", [](const fs::path& p) { fs::create_symlink(p.filename(), p); }, PackRefusal::NotAFile, "loop"},
        {"305.wav", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, PackRefusal::NotAFile, "character device"},
        {"306.wav",
         [](const fs::path& p) {
             auto s = burst(22050, 0.1, 0.3, 0.1);
             s[3000] = std::numeric_limits<float>::infinity();
             writeWav(p, 22050, 1, SF_FORMAT_FLOAT, s);
         },
         PackRefusal::NotFinite, "+Inf"},
        {"307.wav",
         [](const fs::path& p) {
             auto s = burst(22050, 0.1, 0.3, 0.1);
             s[5000] = std::numeric_limits<float>::quiet_NaN();
             writeWav(p, 22050, 1, SF_FORMAT_DOUBLE, s);
         },
         PackRefusal::NotFinite, "NaN"},
        {"308.wav", [](const fs::path& p) { writeWav(p, 192000, 2, SF_FORMAT_PCM_16, burst(192000, 0, 12, 0)); },
         PackRefusal::TooLongFile, "12.00 s"},
    };
    for (const Case& c : cases) c.make(dir / c.file);
    const auto pack = load();
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->refused().size(), std::size(cases));
    for (const Case& c : cases) {
        const PackClip& refused = clip(*pack, std::string(c.file, 3));
        EXPECT_EQ(refused.refusal, c.refusal) << c.file << ": " << refusalText(refused);
        EXPECT_EQ(refused.file, c.file);
        EXPECT_NE(refusalText(refused).find(c.said), std::string::npos) << refusalText(refused);
        EXPECT_FALSE(refusalTextZh(refused).empty());
    }
}

TEST_F(VoicePackTest, ReplacesTheClipsFoundAndKeepsTheOthers) {
    writeWav(dir / "322.wav", 22050, 1, SF_FORMAT_PCM_16, burst(22050, 0.1, 0.4, 0.1));
    writeWav(dir / "qrp.WAV", 22050, 1, SF_FORMAT_PCM_16, burst(22050, 0.1, 0.4, 0.1));
    std::ofstream(dir / "327.wav") << "x";
    std::ofstream(dir / "readme.txt") << "x";
    const auto pack = load();
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->foundCount(), 2);
    EXPECT_TRUE(clip(*pack, "QRP").found()) << "file names in any case";
    EXPECT_EQ(pack->warnings().size(), 2u) << "unknown names are warnings";
    EXPECT_TRUE(pack->refused().empty());
    const std::vector<std::uint8_t> builtIn = {1, 2, 3};
    const auto waves = pack->lookup([&](std::string_view) { return std::optional(std::span<const std::uint8_t>(builtIn)); });
    EXPECT_NE(waves("322")->size(), builtIn.size());
    EXPECT_NE(waves("Qrp")->size(), builtIn.size());
    EXPECT_EQ(waves("321")->size(), builtIn.size());
}

// Stereo 24-bit at 44100 Hz, float at 48000 Hz, 8-bit at 11025 Hz: each becomes
// mono 16-bit at 22050 Hz, trimmed to the sound and at the common loudness.
TEST_F(VoicePackTest, BringsEveryFormatToTheClipsForm) {
    struct Case {
        const char* clip;
        int rate, channels, subtype;
    } cases[] = {{"301", 44100, 2, SF_FORMAT_PCM_24}, {"302", 48000, 1, SF_FORMAT_FLOAT}, {"303", 11025, 1, SF_FORMAT_PCM_U8}};
    for (const Case& c : cases) writeWav(dir / (std::string(c.clip) + ".wav"), c.rate, c.channels, c.subtype, burst(c.rate, 0.5, 0.4, 0.5));
    const auto pack = load();
    ASSERT_TRUE(pack);
    const auto waves = pack->lookup({});
    for (const Case& c : cases) {
        const PackClip& found = clip(*pack, c.clip);
        ASSERT_TRUE(found.found()) << c.clip << ": " << refusalText(found);
        std::string error;
        const auto wave = decodeWave(*waves(c.clip), error);
        ASSERT_TRUE(wave) << error;
        EXPECT_EQ(wave->sampleRate, 22050);
        // The half-second silences go; 7 ms before and 25 ms after the sound stay.
        EXPECT_NEAR(found.seconds, 0.4 + 0.007 + 0.025, 0.01) << c.clip;
        EXPECT_NEAR(found.rmsDb, -17.0, 0.5) << c.clip;
        EXPECT_LE(found.peakDb, -1.0 + 0.01);
        // The first 7 ms are the pre-roll: the tone starts right after.
        const std::size_t onset = 154;
        EXPECT_LT(std::abs(wave->samples[onset / 2]), 0.01f) << c.clip;
        float early = 0;
        for (std::size_t i = onset; i < onset + 441; ++i) early = std::max(early, std::abs(wave->samples[i]));
        EXPECT_GT(early, 0.1f) << c.clip << ": the first 20 ms of sound are kept";
    }
}

TEST_F(VoicePackTest, RenderRefusesABadPackAndUsesAGoodOne) {
    const fs::path out = dir / "p.wav";
    std::ofstream(dir / "301.wav") << "broken";
    EXPECT_EQ(renderCommand({"--groups", "1", "--seed", "2", "--voices", dir.string(), "--out", out.string()}), 2);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(renderCommand({"--groups", "1", "--voices", (dir / "missing").string(), "--out", out.string()}), 2);

    // Every exam letter and digit as a long tone: the practice grows louder than with the voices.
    fs::remove(dir / "301.wav");
    for (const std::string& name : spokenClipNames())
        if (name.size() == 2 || name[0] == '3') writeWav(dir / (name + ".wav"), 22050, 1, SF_FORMAT_PCM_16, burst(22050, 0, 1.0, 0));
    const fs::path plain = dir / "plain.wav";
    ASSERT_EQ(renderCommand({"--groups", "1", "--seed", "2", "--out", plain.string()}), 0);
    ASSERT_EQ(renderCommand({"--groups", "1", "--seed", "2", "--voices", dir.string(), "--out", out.string()}), 0);
    EXPECT_EQ(fs::file_size(plain), fs::file_size(out)) << "the same practice, the same length";
    EXPECT_NE(fileText(plain), fileText(out));
}

}  // namespace
}  // namespace tessaly
