#include "shell/qt/startup_probe.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tessaly::qt {

namespace {
long long nowNs(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// The process's start in ms after boot, from /proc/self/stat (field 22, in clock ticks).
double processStartMs() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22) return std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return -1;
}
}  // namespace

StartupProbe::StartupProbe() : active_(std::getenv("TESSALY_MEASURE_STARTUP") != nullptr) {
    if (!active_) return;
    probeStartNs_ = nowNs(CLOCK_MONOTONIC);
    const double started = processStartMs();
    const double bootNow = static_cast<double>(nowNs(CLOCK_BOOTTIME)) / 1e6;
    startOffsetMs_ = started >= 0 ? bootNow - started : 0;
}

double StartupProbe::sinceProcessStartMs() const {
    return startOffsetMs_ + static_cast<double>(nowNs(CLOCK_MONOTONIC) - probeStartNs_) / 1e6;
}

void StartupProbe::mark(const std::string& what) {
    if (!active_) return;
    std::fprintf(stderr, "tessaly: %s: %.0f ms after the process started\n", what.c_str(), sinceProcessStartMs());
}

}  // namespace tessaly::qt
