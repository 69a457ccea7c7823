#include "base/xdg_places.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace tessaly {
namespace {

TEST(XdgPlaces, FoldersFromTheVariablesOrTheHomeFolder) {
    struct Case { std::map<std::string, std::string> env; const char* data; const char* config; } cases[] = {
        {{{"HOME", "/home/li"}}, "/home/li/.local/share/tessaly", "/home/li/.config/tessaly"},
        {{{"HOME", "/home/li/"}, {"XDG_DATA_HOME", "/d"}, {"XDG_CONFIG_HOME", "/c//"}}, "/d/tessaly", "/c/tessaly"},
        // Empty or relative: ignored, as the rules say.
        {{{"HOME", "/home/li"}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "cfg"}}, "/home/li/.local/share/tessaly",
         "/home/li/.config/tessaly"},
        {{{"XDG_DATA_HOME", "/d"}}, "/d/tessaly", ""},  // no home, and no variable for the settings
        {{{"HOME", "relative"}}, "", ""},
    };
    for (const Case& c : cases) {
        const EnvironmentLookup env = [&](const char* name) -> std::optional<std::string> {
            const auto found = c.env.find(name);
            return found == c.env.end() ? std::nullopt : std::optional<std::string>(found->second);
        };
        std::string error;
        EXPECT_EQ(dataFolder(error, env), c.data);
        error.clear();
        EXPECT_EQ(configFolder(error, env), c.config);
        EXPECT_EQ(error.empty(), std::string(c.config) != "") << error;
    }
}

TEST(XdgPlaces, MakesMissingFoldersPrivateAndLeavesTheOthers) {
    ScratchFolder scratch;
    ::chmod(scratch.path().c_str(), 0755);
    std::string error;
    ASSERT_TRUE(makeUserFolder(scratch / "a/b/tessaly", error)) << error;
    const auto mode = [](const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 0777;
    };
    EXPECT_EQ(mode(scratch / "a"), 0700u);
    EXPECT_EQ(mode(scratch / "a/b/tessaly"), 0700u);
    EXPECT_EQ(mode(scratch.path()), 0755u) << "a folder already there is left as it is";
    EXPECT_TRUE(makeUserFolder(scratch / "a/b/tessaly/", error)) << "there already";

    std::ofstream(scratch / "file") << "x";
    EXPECT_FALSE(makeUserFolder(scratch / "file", error));
    EXPECT_FALSE(makeUserFolder(scratch / "file/tessaly", error));
    EXPECT_NE(error.find("file"), std::string::npos) << error;
}

}  // namespace
}  // namespace tessaly
