// Built when the window is left out (TESSALY_BUILD_GUI=OFF).
#include "shell/desktop.h"

#include <iostream>

namespace tessaly {
int runDesktop(int, char**, const DesktopOptions&) {
    std::cerr << "tessaly: this build has no window; use 'tessaly script' or 'tessaly render' (see --help)\n";
    return 2;
}
bool drawStatsChart(const StatsReport&, const std::string&, std::string& error) {
    error = "this build has no Qt, which draws the chart";
    return false;
}
}  // namespace tessaly
