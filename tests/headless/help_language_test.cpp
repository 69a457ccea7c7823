// The help speaks the user's language: Chinese when the locale messages follow is
// Chinese (LC_ALL, then LC_MESSAGES, then LANG), English otherwise; in Chinese,
// every option of every command is explained in Chinese too.
#include "support/run_tessaly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tessaly {
namespace {

using testing::runTessaly;

TEST(HelpLanguage, ChineseForAChineseLocaleEnglishOtherwise) {
    const struct {
        const char* lcAll;
        const char* lang;
        bool zh;
    } locales[] = {{"", "zh_CN.UTF-8", true}, {"", "C.UTF-8", false}, {"en_GB.UTF-8", "zh_CN.UTF-8", false},
                   {"zh_TW.UTF-8", "C", true}};
    const std::vector<std::vector<std::string>> commands = {
        {"--help"}, {"script", "--help"}, {"render", "--help"}, {"voices", "--help"}, {"stats", "--help"}};
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* was = std::getenv(name);
        saved.emplace_back(name, was ? std::optional<std::string>(was) : std::nullopt);
    }
    ::unsetenv("LC_MESSAGES");
    for (const auto& l : locales) {
        ::setenv("LC_ALL", l.lcAll, 1);
        ::setenv("LANG", l.lang, 1);
        for (const auto& args : commands) {
            const auto run = runTessaly(args);
            const std::string what = args.front() + " with LC_ALL=" + l.lcAll + " LANG=" + l.lang;
            EXPECT_EQ(run.status, 0) << what;
            EXPECT_EQ(run.out.find("用法") != std::string::npos, l.zh) << what << "\n" << run.out;
            if (!l.zh) continue;
            std::istringstream lines(run.out);
            for (std::string line; std::getline(lines, line);) {
                if (line.rfind("  --", 0) != 0) continue;
                const bool chinese = std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
                EXPECT_TRUE(chinese) << what << ": " << line;
            }
        }
    }
    for (const auto& [name, value] : saved) {
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
}

}  // namespace
}  // namespace tessaly
