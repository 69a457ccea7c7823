#pragma once
// The program itself, run as a user runs it, for the commands that live in the
// executable alone (stats); its output caught. The child takes this process's
// environment as it stands.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tessaly::testing {

struct ProgramRun {
    int status = 0;
    std::string out, err;
};

inline ProgramRun runTessaly(const std::vector<std::string>& args) {
    namespace fs = std::filesystem;
    const fs::path out = fs::path(::testing::TempDir()) / ("tessaly_program_" + std::to_string(::getpid()) + ".out");
    const fs::path err = fs::path(out).replace_extension(".err");
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<char*> argv{const_cast<char*>(TESSALY_EXECUTABLE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TESSALY_EXECUTABLE, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto read = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ProgramRun r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = read(out);
    r.err = read(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

}  // namespace tessaly::testing
