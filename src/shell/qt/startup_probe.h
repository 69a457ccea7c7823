#pragma once
// With TESSALY_MEASURE_STARTUP set, the program reports how long after its process
// started the loader and the main window first painted and the load finished,
// then ends: a start-up figure that needs no screen recording.
#include <string>

namespace tessaly::qt {

class StartupProbe {
public:
    StartupProbe();
    bool active() const { return active_; }
    // Milliseconds since the process started (10 ms resolution of the kernel's
    // start time, plus the precise time since this probe was made).
    double sinceProcessStartMs() const;
    void mark(const std::string& what);  // prints "what: N ms" on standard error

private:
    bool active_;
    double startOffsetMs_ = 0;  // process start to probe creation
    long long probeStartNs_ = 0;
};

}  // namespace tessaly::qt
