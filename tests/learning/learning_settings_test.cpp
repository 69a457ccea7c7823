#include "learning/learning_settings.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace tessaly {
namespace {

LearningSettings restored() {
    return {true,
            PracticeSettings{.words = WordSet::Mixed, .speed = 8, .tone = 1200, .noise = 3, .conditions = kQrn | kVaryTone,
                             .mode = ReadingMode::Continuous, .source = CallsignSource::Library, .groups = 35,
                             .snrDb = -4.5, .agc = "slow"},
            true};
}

TEST(LearningSettings, RoundTripThroughTheFile) {
    ScratchFolder scratch;
    const std::string path = scratch / "config/tessaly/settings.json";
    const LoadedSettings none = readLearningSettings(path);
    EXPECT_EQ(none.settings, LearningSettings{});
    EXPECT_EQ(none.warning, "") << "no file yet is no damage";
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "reading makes no folder";

    std::string error;
    ASSERT_TRUE(writeLearningSettings(path, restored(), error)) << error;
    struct stat info {};
    ::stat((scratch / "config/tessaly").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    const LoadedSettings back = readLearningSettings(path);
    EXPECT_EQ(back.warning, "");
    EXPECT_EQ(back.settings, restored());

    // Written whole each time: off, with nothing to restore.
    ASSERT_TRUE(writeLearningSettings(path, {}, error)) << error;
    EXPECT_EQ(readLearningSettings(path).settings, LearningSettings{});
    EXPECT_EQ(fileText(path), "{\n  \"record\": false,\n  \"drill\": false\n}\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch / "config/tessaly"), {}), 1)
        << "no temporary file left beside it";
}

TEST(LearningSettings, TheVocabularysNamesInTheFile) {
    const std::string text = learningSettingsJson(restored());
    for (const char* field : {"\"words\": \"mixed\"", "\"speed\": \"8\"", "\"tone\": \"1200\"", "\"noise\": \"S3\"",
                              "\"conditions\": \"qrn,vary-tone\"", "\"mode\": \"continuous\"", "\"source\": \"library\"",
                              "\"groups\": \"35\"", "\"snr\": \"-4.5\""})
        EXPECT_NE(text.find(field), std::string::npos) << field << " in\n" << text;
}

TEST(LearningSettings, ADamagedFileCostsOneWarningAndGivesTheDefaults) {
    ScratchFolder scratch;
    const std::string path = scratch / "settings.json";
    std::string good = learningSettingsJson(restored());
    struct Case {
        std::string text;
        const char* warning;  // the end of it
    } cases[] = {
        {good.substr(0, good.size() / 2), "not JSON"},
        {"", "not JSON"},
        {std::string("\x00\xff", 2), "not JSON"},
        {"[true]", "not a JSON object"},
        {"{\"record\": \"yes\"}", "\"record\" must be true or false"},
        {"{\"record\": true, \"practice\": [1]}", "\"practice\" must be an object"},
        {"{\"record\": true, \"practice\": {\"speed\": 5}}", "practice setting \"speed\" must be a text"},
        {"{\"record\": true, \"practice\": {\"speed\": \"11\"}}", "practice setting speed must be 0 to 10, not \"11\""},
        {"{\"record\": true, \"practice\": {\"words\": \"Exam\"}}",
         "practice setting words must be exam, standard, places, other or mixed, not \"Exam\""},
        {std::string(70 * 1024, ' ') + "{}", "larger than a settings file can be"},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << c.text;
        const LoadedSettings read = readLearningSettings(path);
        EXPECT_EQ(read.settings, LearningSettings{}) << c.text;
        EXPECT_EQ(read.warning, path + ": " + c.warning + "; the defaults are used") << c.text;
    }
    // Its place holds no file of its own: refused, read through nothing, waited on for nothing.
    std::ofstream(scratch / "other.json") << good;
    for (const auto& [make, warning] : std::vector<std::pair<std::function<void()>, std::string>>{
             {[&] { std::filesystem::create_directory(path); }, "it is a directory, not a file"},
             {[&] { ::mkfifo(path.c_str(), 0600); }, "it is a FIFO (named pipe), not a file"},
             {[&] { std::filesystem::create_symlink(scratch / "other.json", path); },
              "it is a symbolic link: refused, nothing is read through it"}}) {
        std::filesystem::remove_all(path);
        make();
        EXPECT_EQ(readLearningSettings(path).warning, path + ": " + warning + "; the defaults are used");
        std::string error;
        EXPECT_FALSE(writeLearningSettings(path, {}, error)) << warning;
        EXPECT_NE(error.find("refused"), std::string::npos) << error;
    }
    EXPECT_EQ(fileText(scratch / "other.json"), good) << "not written through the link";

    // What a later version may add is passed over; what is missing takes its default.
    std::ofstream(scratch / "later.json") << "{\"record\": true, \"theme\": \"dark\", \"practice\": {\"speed\": \"2\", \"colour\": \"red\"}}";
    const LoadedSettings later = readLearningSettings(scratch / "later.json");
    EXPECT_EQ(later.warning, "");
    EXPECT_TRUE(later.settings.record);
    ASSERT_TRUE(later.settings.lastPractice);
    PracticeSettings expected;
    expected.speed = 2;
    EXPECT_EQ(*later.settings.lastPractice, expected);
}

TEST(LearningSettings, AFileThatCannotBeWrittenLeavesTheOldOne) {
    ScratchFolder scratch;
    std::ofstream(scratch / "config") << "a file where the folder should be";
    std::string error;
    EXPECT_FALSE(writeLearningSettings(scratch / "config/tessaly/settings.json", restored(), error));
    EXPECT_NE(error.find("config"), std::string::npos) << error;

    // The target is a folder: the rename fails and the temporary file goes.
    const std::string path = scratch / "settings.json";
    std::filesystem::create_directories(path + "/inside");
    EXPECT_FALSE(writeLearningSettings(path, restored(), error));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 2);
}

}  // namespace
}  // namespace tessaly
