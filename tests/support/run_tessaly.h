#pragma once
// The program itself, run as a user runs it, for the commands that live in the
// executable alone (stats); its output caught. The child takes this process's
// environment as it stands.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
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

// Where the child's standard output goes: caught; /dev/full; or a pipe nobody
// reads, with SIGPIPE ignored (as some shells and services leave it).
enum class ProgramOutput { caught, full, unread };

// `input`, when given, is the child's standard input.
inline ProgramRun runTessaly(const std::vector<std::string>& args, ProgramOutput output = ProgramOutput::caught,
                             const std::string* input = nullptr) {
    namespace fs = std::filesystem;
    const fs::path out = fs::path(::testing::TempDir()) / ("tessaly_program_" + std::to_string(::getpid()) + ".out");
    const fs::path err = fs::path(out).replace_extension(".err");
    const fs::path in = fs::path(out).replace_extension(".in");
    if (input) std::ofstream(in, std::ios::binary) << *input;
    // The reading end is closed before the child starts: its first write fails.
    int unread[2] = {-1, -1};
    if (output == ProgramOutput::unread && ::pipe(unread) != 0) ADD_FAILURE() << "no pipe";
    if (output == ProgramOutput::unread) ::close(unread[0]);
    const pid_t child = ::fork();
    if (child == 0) {
        if (output == ProgramOutput::unread) {
            ::signal(SIGPIPE, SIG_IGN);
            ::dup2(unread[1], 1);
        } else {
            ::dup2(::open(output == ProgramOutput::full ? "/dev/full" : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        }
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        if (input) ::dup2(::open(in.c_str(), O_RDONLY), 0);
        std::vector<char*> argv{const_cast<char*>(TESSALY_EXECUTABLE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TESSALY_EXECUTABLE, argv.data());
        ::_exit(127);
    }
    if (output == ProgramOutput::unread) ::close(unread[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto read = [](const fs::path& p) {
        std::ifstream file(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    ProgramRun r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = read(out);
    r.err = read(err);
    fs::remove(out);
    fs::remove(err);
    fs::remove(in);
    return r;
}

}  // namespace tessaly::testing
