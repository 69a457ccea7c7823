#include "headless/practice_render.h"
#include "support/scratch_folder.h"
#include "support/wave_probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tessaly {
namespace {

TEST(RenderCommand, OptionsDefaultToTheWindowAndRejectNonsense) {
    std::string error;
    auto o = parseRenderOptions({"--out", "p.wav"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->settings, PracticeSettings{});
    EXPECT_DOUBLE_EQ(o->answerPauseSeconds, 4);

    o = parseRenderOptions({"--out", "p.wav", "--groups", "7", "--words", "places", "--noise", "S4", "--qrm",
                            "--vary-tone", "--mode", "continuous", "--speed", "0", "--tone", "80", "--seed", "9",
                            "--source", "library", "--answer-pause", "2.5", "--key", "k.txt"},
                           error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(settingsLine(settingsFields(o->settings)),
              "words=places speed=0 tone=80 noise=S4 conditions=qrm,vary-tone mode=continuous source=library groups=7 "
              "snr=off path=off passband=off agc=off threshold=off speaker=default digits=set pileup=off pileup-stream=off");
    EXPECT_EQ(*o->seed, 9u);
    EXPECT_DOUBLE_EQ(o->answerPauseSeconds, 2.5);

    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--groups", "5"},
        {"--out", "p.wav", "--groups", "0"},
        {"--out", "p.wav", "--groups", "501"},
        {"--out", "p.wav", "--groups", "ten"},
        {"--out", "p.wav", "--speed", "11"},
        {"--out", "p.wav", "--tone", "79"},
        {"--out", "p.wav", "--noise", "S6"},
        {"--out", "p.wav", "--words", "klingon"},
        {"--out", "p.wav", "--mode", "random"},
        {"--out", "p.wav", "--answer-pause", "-1"},
        {"--out", "p.wav", "--bogus"},
        {"--out"},
    };
    for (const auto& args : bad) {
        error.clear();
        EXPECT_FALSE(parseRenderOptions(args, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

TEST(RenderCommand, WritesThePracticeAndItsKey) {
    const std::string wav = ::testing::TempDir() + "tessaly_render_command.wav";
    const std::string key = ::testing::TempDir() + "tessaly_render_command.txt";
    ASSERT_EQ(renderCommand({"--groups", "3", "--seed", "4", "--out", wav, "--key", key, "--answer-pause", "1"}), 0);
    std::ifstream keyFile(key);
    std::vector<std::string> lines;
    for (std::string line; std::getline(keyFile, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 2), "1 ");
    EXPECT_EQ(lines[2].substr(0, 2), "3 ");
    std::ifstream in(wav, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    const auto probe = test::probeWave(bytes);
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->rateHz, 48000u);
    EXPECT_EQ(probe->bitsPerSample, 16);
    // Three callsigns of at least 6 ticks (5 characters and the pause) at 1.1 s, and 1 s answers.
    EXPECT_GT(probe->seconds(), 3 * (6 * 1.1 + 1));
    std::remove(wav.c_str());
    std::remove(key.c_str());
}

// No output may overwrite another, and a render that fails leaves the files that
// were there as they were.
TEST(RenderCommand, RefusesOutputsItCannotWriteBeforeRenderingAndKeepsOldFiles) {
    const ScratchFolder scratch;
    const std::string dir = scratch.path() + "/";
    const std::string old = dir + "old.wav";
    std::ofstream(old) << "old practice";
    std::filesystem::create_symlink(old, dir + "link.txt");
    struct Case { std::vector<std::string> outputs; int status; } cases[] = {
        {{"--out", old, "--key", old}, 2},
        {{"--out", old, "--key", dir + "./old.wav"}, 2},
        {{"--out", old, "--key", dir + "link.txt"}, 2},
        {{"--out", old, "--key", "/nonexistent-dir/k.txt"}, 1},
        {{"--out", "/nonexistent-dir/p.wav"}, 1},
        {{"--out", dir, "--key", dir + "k.txt"}, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--groups", "1", "--answer-pause", "0"};
        args.insert(args.end(), c.outputs.begin(), c.outputs.end());
        EXPECT_EQ(renderCommand(args), c.status) << ::testing::PrintToString(c.outputs);
        EXPECT_EQ(fileText(old), "old practice");
    }
    // Nothing is left behind: no temporary file, no key without its practice.
    EXPECT_EQ(scratch.entries(), 2u);
}

}  // namespace
}  // namespace tessaly
