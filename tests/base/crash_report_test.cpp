#include "base/crash_report.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tessaly {
namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A child process dies by each fatal signal; it leaves its report (in a state folder
// that did not exist yet) and still ends by that signal. The next start hears of it
// once.
TEST(CrashReport, AFatalSignalLeavesAReportToldOnce) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reports crashes itself";
#endif
    const struct {
        int signal;
        const char* name;
    } cases[] = {{SIGSEGV, "SIGSEGV"}, {SIGABRT, "SIGABRT"}, {SIGFPE, "SIGFPE"}};
    for (const auto& c : cases) {
        ScratchFolder scratch;
        const std::string folder = scratch / "state/tessaly";
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            installCrashReport(folder, "9.8.7");
            if (c.signal == SIGSEGV) {
                volatile int* nowhere = nullptr;
                *nowhere = 1;
            }
            ::raise(c.signal);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << c.name;
        EXPECT_EQ(WTERMSIG(status), c.signal);

        const std::string report = takeCrashNotice(folder);
        ASSERT_EQ(std::filesystem::path(report).parent_path(), folder) << c.name;
        EXPECT_EQ(std::filesystem::path(report).filename().string().rfind("crash-", 0), 0u) << report;
        const std::string text = contents(report);
        EXPECT_EQ(text.rfind(std::string("tessaly 9.8.7 ended by signal ") + std::to_string(c.signal) + " (" + c.name +
                                 ")\nbacktrace:\n",
                             0),
                  0u)
            << text;
        EXPECT_GT(text.size(), 80u);  // the frames follow
        EXPECT_EQ(takeCrashNotice(folder), "");
    }
}

}  // namespace
}  // namespace tessaly
