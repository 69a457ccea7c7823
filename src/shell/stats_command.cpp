#include "shell/stats_command.h"

#include "base/output_file.h"
#include "base/utf8.h"
#include "headless/command_line.h"
#include "learning/learning_record.h"
#include "learning/own_files.h"
#include "learning/results_csv.h"
#include "learning/stats_json.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"
#include "shell/desktop.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <iostream>
#include <map>
#include <utility>

namespace tessaly {
namespace {

std::string today() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

// Past this a file is no results file (a year of daily practices is a few MB).
constexpr std::size_t kLargestResultsFile = 64 * 1024 * 1024;

// Reads a whole file of at most kLargestResultsFile bytes. On failure, false with
// the reason in `error`; `identity` tells the file apart from other names of it.
bool readResultsFile(const std::string& path, std::string& text, std::pair<dev_t, ino_t>& identity,
                     std::string& error) {
    // Opened without waiting: a FIFO with nobody writing to it reads as empty
    // instead of holding the command up. A pipe with a writer is read as it comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
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

// The results files given, read strictly: a file that is not one stops the command.
// A file named twice (by another name or a link) is read once.
int readFiles(const std::vector<std::string>& files, std::vector<PracticeRecord>& records) {
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
    return 0;
}

}  // namespace

int statsCommand(const std::vector<std::string>& args) {
    std::string png;
    bool json = false;
    const CommandLine line(
        "stats", "[FILE.csv...] [--json] [--png OUT.png]",
        "Shows how each practice went, oldest first, the thresholds of threshold runs over time, and which\n"
        "characters are missed most, with their review boxes. Without files it reads the learning record\n"
        "($XDG_DATA_HOME/tessaly/record.csv, kept while 保存学习记录 is on); with files, the results files\n"
        "given (导出成绩 in the window, export in a script).",
        {"FILE.csv    results files; none: the learning record"},
        {flagOption("--json", "print what was found as one JSON object instead of the text", json),
         textOption("--png", "OUT.png", "also draw the same as a chart", png)});
    return line.main(args, [&](const std::vector<std::string>& files) {
        if (const OwnFile own = png.empty() ? OwnFile::none : ownFileAt(png); own != OwnFile::none) {
            std::cerr << "tessaly stats: --png names " << printable(ownFileDescription(own)) << ": the chart would replace it\n";
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
        StatsSource source;
        if (!files.empty()) {
            if (const int status = readFiles(files, records); status != 0) return status;
            source.files = files;
        } else {
            std::string error;
            const LearningRecord record = LearningRecord::atDataFolder(error);
            if (!record.valid()) {
                std::cerr << "tessaly stats: no learning record to read: " << error << '\n';
                return 2;
            }
            RecordContents contents = record.read();
            if (!contents.error.empty()) {
                std::cerr << "tessaly stats: " << record.path() << ": " << contents.error << '\n';
                return 1;
            }
            for (const std::string& warning : contents.warnings)
                std::cerr << "tessaly stats: " << record.path() << ": " << warning << '\n';
            source.record = record.path();
            source.found = contents.found;
            source.warnings = std::move(contents.warnings);
            records = std::move(contents.practices);
            if (!contents.found && !json) {
                std::cout << "还没有学习记录：" << record.path()
                          << " 不存在。\n在窗口的 学习 菜单里勾选 保存学习记录（脚本里用 record on），"
                             "之后每次判过分的练习都会记进去。\n";
                return 0;
            }
        }
        const StatsReport report = statsReport(records, today());
        std::cout << (json ? statsJson(report, source) : statsText(report));
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
