#include "shell/stats_command.h"

#include "headless/command_line.h"
#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"
#include "shell/desktop.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace tessaly {

int statsCommand(const std::vector<std::string>& args) {
    std::string png;
    const CommandLine line(
        "stats", "FILE.csv... [--png OUT.png]",
        "Reads results files (导出成绩 in the window, export in a script) and shows how each practice went,\n"
        "oldest first, and which characters are missed most over all of them.",
        {"FILE.csv    one or more results files"},
        {{"--png", "OUT.png", "also draw the same as a chart", [&png](const std::string& v) {
              png = v;
              return std::string();
          }}});
    return line.main(args, [&](const std::vector<std::string>& files) {
        if (files.empty()) {
            std::cerr << "tessaly stats: no results file given\n(tessaly stats --help)\n";
            return 2;
        }
        std::vector<PracticeRecord> records;
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
        const StatsReport report = statsReport(records);
        std::cout << statsText(report);
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
