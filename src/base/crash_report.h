#pragma once
// A fatal signal (a crash, an abort) leaves a report: the signal, a backtrace and the
// version, written to "crash-<UTC time>.txt" in the state folder and to standard
// error, and a note that the next window start reads once. The handler only makes
// async-signal-safe calls; everything it needs is prepared when it is installed.
// The program then ends by the same signal, as it would have without the handler.
#include <string>

namespace tessaly {

// Installs the handler for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT, on a stack of
// its own (a stack overflow still reports). `folder` is made only when a report is
// written. Does nothing in a build under AddressSanitizer, whose own report is better.
void installCrashReport(const std::string& folder, const std::string& version);

// The report left by a crash since this was last asked, or "": the note is removed,
// so a crash is told once.
std::string takeCrashNotice(const std::string& folder);

}  // namespace tessaly
