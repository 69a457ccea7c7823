#pragma once
#include <string>

namespace tessaly {

struct DesktopOptions {
    std::string voicesPath;  // a voice pack in front of the built-in clips
};

// Opens the window and runs the event loop; returns the exit status.
int runDesktop(int argc, char** argv, const DesktopOptions& options);

struct StatsReport;
// Draws the copy rate of each practice and the characters missed most as a PNG
// picture (no screen needed). False with a reason when it cannot be written.
bool drawStatsChart(const StatsReport& report, const std::string& path, std::string& error);

}  // namespace tessaly
