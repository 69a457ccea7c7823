#include "shell/stats_command.h"

#include "base/output_file.h"
#include "base/utf8.h"
#include "headless/command_line.h"
#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"
#include "shell/desktop.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>
#include <utility>

namespace tessaly {
namespace {

// Past this a file is no results file (a year of daily practices is a few MB).
constexpr std::size_t kLargestResultsFile = 64 * 1024 * 1024;

// Reads a whole file of at most kLargestResultsFile bytes. On failure, false with
// the reason in `error`; `identity` tells the file apart from other names of it.
bool readResultsFile(const std::string& path, std::string& text, std::pair<dev_t, ino_t>& identity,
                     std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        error = std::string("cannot read it: ") + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    identity = {st.st_dev, st.st_ino};
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = "it is a directory, not a results file";
        return false;
    }
    text.clear();
    char block[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::string("cannot read it: ") + std::strerror(errno);
            break;
        }
        if (n == 0) break;
        if (text.size() + static_cast<std::size_t>(n) > kLargestResultsFile) {
            error = "it goes on past " + std::to_string(kLargestResultsFile >> 20) + " MiB: not a results file";
            break;
        }
        text.append(block, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return error.empty();
}

}  // namespace

int statsCommand(const std::vector<std::string>& args) {
    std::string png;
    const CommandLine line(
        "stats", "FILE.csv... [--png OUT.png]",
        "Reads results files (导出成绩 in the window, export in a script) and shows how each practice went,\n"
        "oldest first, and which characters are missed most over all of them.",
        {"FILE.csv    one or more results files (a file named twice is counted once)"},
        {textOption("--png", "OUT.png", "also draw the same as a chart", png)});
    return line.main(args, [&](const std::vector<std::string>& files) {
        if (files.empty()) {
            std::cerr << "tessaly stats: no results file given\n(tessaly stats --help)\n";
            return 2;
        }
        if (const std::string* input = png.empty() ? nullptr : sameFileAmong(png, files)) {
            std::cerr << "tessaly stats: --png names the results file " << printable(*input)
                      << ": the chart would replace it\n";
            return 2;
        }
        // A place the chart cannot go is found before anything is read.
        if (std::string error; !png.empty() && !OutputFile::create(png, error)) {
            std::cerr << "tessaly stats: cannot write " << printable(png) << ": " << error << '\n';
            return 1;
        }
        std::vector<PracticeRecord> records;
        std::map<std::pair<dev_t, ino_t>, std::string> read;
        for (const std::string& file : files) {
            std::string text, error;
            std::pair<dev_t, ino_t> identity;
            if (!readResultsFile(file, text, identity, error)) {
                std::cerr << "tessaly stats: " << printable(file) << ": " << error << '\n';
                return 2;
            }
            if (const auto [first, added] = read.try_emplace(identity, file); !added) {
                std::cerr << "tessaly stats: " << printable(file) << " is the same file as " << printable(first->second)
                          << ": counted once\n";
                continue;
            }
            if (!parseResultsCsv(text, records, error)) {
                std::cerr << "tessaly stats: " << printable(file) << ": " << printable(error) << '\n';
                return 2;
            }
        }
        const StatsReport report = statsReport(records);
        std::cout << statsText(report);
        if (!png.empty()) {
            std::string error;
            if (!drawStatsChart(report, png, error)) {
                std::cerr << "tessaly stats: cannot write " << printable(png) << ": " << error << '\n';
                return 1;
            }
        }
        return 0;
    });
}

}  // namespace tessaly
