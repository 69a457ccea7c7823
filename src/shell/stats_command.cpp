#include "shell/stats_command.h"

#include "headless/command_line.h"
#include "learning/learning_record.h"
#include "learning/results_csv.h"
#include "learning/stats_json.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"
#include "shell/desktop.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

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

// The results files given, read strictly: a file that is not one stops the command.
int readFiles(const std::vector<std::string>& files, std::vector<PracticeRecord>& records) {
    for (const std::string& file : files) {
        std::error_code ec;
        if (std::filesystem::is_directory(file, ec)) {
            std::cerr << "tessaly stats: " << file << " is a directory, not a results file\n";
            return 2;
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::cerr << "tessaly stats: cannot read " << file << '\n';
            return 2;
        }
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        std::string error;
        if (!parseResultsCsv(text, records, error)) {
            std::cerr << "tessaly stats: " << file << ": " << error << '\n';
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
         {"--png", "OUT.png", "also draw the same as a chart", [&png](const std::string& v) {
              png = v;
              return std::string();
          }}});
    return line.main(args, [&](const std::vector<std::string>& files) {
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
                std::cout << "还没有学习记录:" << record.path()
                          << " 不存在。\n在窗口的 学习 菜单里勾选 保存学习记录(脚本里用 record on),"
                             "之后每次判过分的练习都会记进去。\n";
                return 0;
            }
        }
        const StatsReport report = statsReport(records, today());
        std::cout << (json ? statsJson(report, source) : statsText(report));
        if (!png.empty()) {
            std::string error;
            if (!drawStatsChart(report, png, error)) {
                std::cerr << "tessaly stats: cannot write " << png << ": " << error << '\n';
                return 1;
            }
        }
        return 0;
    });
}

}  // namespace tessaly
